#include "platform/DialogTemplate.h"

#include "platform/TemplateCursor.h"
#include "platform/Utf8.h"

#include <limits>
#include <string_view>

namespace
{
constexpr std::uint16_t NumberMarker = 0xFFFF;
constexpr std::size_t MaximumCount = std::numeric_limits<std::uint16_t>::max();
// The size word counts itself, so this much data at most fits behind it.
constexpr std::size_t MaximumCreationData = MaximumCount - 2;

struct Place
{
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
};

std::optional<Place> ReadPlace(CTemplateCursor& cursor)
{
    const auto x = cursor.ReadInt16();
    const auto y = cursor.ReadInt16();
    const auto width = cursor.ReadInt16();
    const auto height = cursor.ReadInt16();
    if (!x || !y || !width || !height)
        return std::nullopt;
    return Place{*x, *y, *width, *height};
}

} // namespace

std::optional<DialogItemTemplate> ReadTemplateItem(CTemplateCursor& cursor,
                                                   std::span<const std::uint8_t> bytes)
{
    if (!cursor.AlignToFourBytes())
        return std::nullopt;
    const auto style = cursor.ReadUInt32();
    const auto extendedStyle = cursor.ReadUInt32();
    const auto place = ReadPlace(cursor);
    const auto id = cursor.ReadUInt16();
    if (!style || !extendedStyle || !place || !id)
        return std::nullopt;
    auto windowClass = cursor.ReadField();
    if (!windowClass)
        return std::nullopt;
    auto title = cursor.ReadField();
    if (!title)
        return std::nullopt;
    const auto dataSize = cursor.ReadUInt16();
    // A size of 1 cannot even hold its own word.
    if (!dataSize || *dataSize == 1)
        return std::nullopt;
    const std::size_t dataLength = *dataSize == 0 ? 0 : *dataSize - 2u;
    const std::size_t dataStart = cursor.Position();
    if (!cursor.Skip(dataLength))
        return std::nullopt;
    const auto data = bytes.subspan(dataStart, dataLength);

    DialogItemTemplate item;
    item.style = *style;
    item.extendedStyle = *extendedStyle;
    item.x = place->x;
    item.y = place->y;
    item.width = place->width;
    item.height = place->height;
    item.id = *id;
    item.windowClass = std::move(*windowClass);
    item.title = std::move(*title);
    item.creationData.assign(data.begin(), data.end());
    return item;
}

namespace
{
void AppendUInt16(std::vector<std::uint8_t>& bytes, std::uint16_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendUInt32(std::vector<std::uint8_t>& bytes, std::uint32_t value)
{
    AppendUInt16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
    AppendUInt16(bytes, static_cast<std::uint16_t>(value >> 16));
}

void AppendString(std::vector<std::uint8_t>& bytes, std::string_view text)
{
    const std::size_t start = bytes.size();
    while (!text.empty())
    {
        char32_t codePoint = TakeCharacter(text);
        // A zero word would end the string early; U+FFFF at its start would read as the
        // number marker. Neither belongs in a title. Further on, U+FFFF reads back as itself.
        if (codePoint == 0)
            continue;
        if (codePoint == NumberMarker && bytes.size() == start)
            codePoint = 0xFFFD;
        if (codePoint >= 0x10000)
        {
            codePoint -= 0x10000;
            AppendUInt16(bytes, static_cast<std::uint16_t>(0xD800 + (codePoint >> 10)));
            AppendUInt16(bytes, static_cast<std::uint16_t>(0xDC00 + (codePoint & 0x3FF)));
        }
        else
            AppendUInt16(bytes, static_cast<std::uint16_t>(codePoint));
    }
    AppendUInt16(bytes, 0);
}

void AppendField(std::vector<std::uint8_t>& bytes, const TemplateField& field)
{
    if (field.isNumber)
    {
        AppendUInt16(bytes, NumberMarker);
        AppendUInt16(bytes, field.number);
    }
    else
        AppendString(bytes, field.text);
}

void AppendPlace(std::vector<std::uint8_t>& bytes, const auto& owner)
{
    for (const std::int16_t value : {owner.x, owner.y, owner.width, owner.height})
        AppendUInt16(bytes, static_cast<std::uint16_t>(value));
}

void AppendItem(std::vector<std::uint8_t>& bytes, const DialogItemTemplate& item)
{
    while (bytes.size() % 4 != 0)
        bytes.push_back(0);
    AppendUInt32(bytes, item.style);
    AppendUInt32(bytes, item.extendedStyle);
    AppendPlace(bytes, item);
    AppendUInt16(bytes, item.id);
    AppendField(bytes, item.windowClass);
    AppendField(bytes, item.title);
    if (item.creationData.empty())
    {
        AppendUInt16(bytes, 0);
        return;
    }
    const std::size_t length = std::min(item.creationData.size(), MaximumCreationData);
    AppendUInt16(bytes, static_cast<std::uint16_t>(length + 2));
    bytes.insert(bytes.end(), item.creationData.begin(),
                 item.creationData.begin() + static_cast<std::ptrdiff_t>(length));
}
} // namespace

std::optional<DialogTemplate> ReadTemplateHeader(CTemplateCursor& cursor, std::uint16_t& itemCount)
{
    const auto style = cursor.ReadUInt32();
    const auto extendedStyle = cursor.ReadUInt32();
    const auto count = cursor.ReadUInt16();
    const auto place = ReadPlace(cursor);
    if (!style || !extendedStyle || !count || !place)
        return std::nullopt;

    DialogTemplate dialogTemplate;
    dialogTemplate.style = *style;
    dialogTemplate.extendedStyle = *extendedStyle;
    dialogTemplate.x = place->x;
    dialogTemplate.y = place->y;
    dialogTemplate.width = place->width;
    dialogTemplate.height = place->height;
    for (TemplateField* field :
         {&dialogTemplate.menu, &dialogTemplate.windowClass, &dialogTemplate.caption})
    {
        auto read = cursor.ReadField();
        if (!read)
            return std::nullopt;
        *field = std::move(*read);
    }
    if ((dialogTemplate.style & TemplateStyle::SetFont) != 0)
    {
        const auto pointSize = cursor.ReadUInt16();
        auto fontName = cursor.ReadField();
        if (!pointSize || !fontName || fontName->isNumber)
            return std::nullopt;
        dialogTemplate.pointSize = *pointSize;
        dialogTemplate.fontName = std::move(fontName->text);
    }
    itemCount = *count;
    return dialogTemplate;
}

std::optional<DialogTemplate> ReadDialogTemplate(std::span<const std::uint8_t> bytes)
{
    CTemplateCursor cursor(bytes);
    std::uint16_t itemCount = 0;
    auto dialogTemplate = ReadTemplateHeader(cursor, itemCount);
    if (!dialogTemplate)
        return std::nullopt;
    // An item takes 24 bytes at the least: a count that cannot fit is refused before
    // room is reserved for it.
    if (itemCount > cursor.Remaining() / 24)
        return std::nullopt;
    dialogTemplate->items.reserve(itemCount);
    for (std::uint16_t i = 0; i < itemCount; ++i)
    {
        auto item = ReadTemplateItem(cursor, bytes);
        if (!item)
            return std::nullopt;
        dialogTemplate->items.push_back(std::move(*item));
    }
    return dialogTemplate;
}

std::vector<std::uint8_t> WriteDialogTemplate(const DialogTemplate& dialogTemplate)
{
    // The count word cannot name more items than this.
    const std::size_t itemCount = std::min(dialogTemplate.items.size(), MaximumCount);
    std::vector<std::uint8_t> bytes;
    AppendUInt32(bytes, dialogTemplate.style);
    AppendUInt32(bytes, dialogTemplate.extendedStyle);
    AppendUInt16(bytes, static_cast<std::uint16_t>(itemCount));
    AppendPlace(bytes, dialogTemplate);
    AppendField(bytes, dialogTemplate.menu);
    AppendField(bytes, dialogTemplate.windowClass);
    AppendField(bytes, dialogTemplate.caption);
    if ((dialogTemplate.style & TemplateStyle::SetFont) != 0)
    {
        AppendUInt16(bytes, dialogTemplate.pointSize);
        AppendString(bytes, dialogTemplate.fontName);
    }
    for (std::size_t i = 0; i < itemCount; ++i)
        AppendItem(bytes, dialogTemplate.items[i]);
    return bytes;
}
