// Any bytes as a dialog template. Reading must never touch a byte outside the span (the
// sanitizer watches), and what is read must hang together:
// - the relayout's reading, a header and then item after item, accepts exactly the bytes
//   that the whole reading accepts, and reads the same template from them;
// - a template read once comes back unchanged when it is written and read again;
// - at any place, a field that the cursor can read it can also skip, to the same place; a
//   read or skip that fails leaves the cursor where it was.
#include "platform/DialogTemplate.h"
#include "platform/TemplateCursor.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>

namespace
{
void Require(bool holds)
{
    if (!holds)
        std::abort();
}

std::optional<DialogTemplate> ReadPieceByPiece(std::span<const std::uint8_t> bytes)
{
    CTemplateCursor cursor(bytes);
    std::uint16_t itemCount = 0;
    auto dialogTemplate = ReadTemplateHeader(cursor, itemCount);
    if (!dialogTemplate)
        return std::nullopt;
    Require(dialogTemplate->items.empty());
    for (std::uint16_t i = 0; i < itemCount; ++i)
    {
        const std::size_t before = cursor.Position();
        auto item = ReadTemplateItem(cursor, bytes);
        if (!item)
            return std::nullopt;
        Require(cursor.Position() > before && cursor.Position() <= bytes.size());
        dialogTemplate->items.push_back(std::move(*item));
    }
    return dialogTemplate;
}

void CheckFieldsAt(std::span<const std::uint8_t> bytes, std::size_t start)
{
    CTemplateCursor reader(bytes);
    CTemplateCursor skipper(bytes);
    if (!reader.Skip(start) || !skipper.Skip(start))
        return;
    const auto field = reader.ReadField();
    const bool skipped = skipper.SkipTemplateString();
    if (field)
        Require(skipped && reader.Position() == skipper.Position());
    else
        Require(reader.Position() == start);
    if (!skipped)
        Require(!field && skipper.Position() == start);

    CTemplateCursor numbers(bytes);
    numbers.Skip(start);
    const std::size_t left = numbers.Remaining();
    Require(numbers.ReadUInt32().has_value() == (left >= 4));
    Require(numbers.Position() == start + (left >= 4 ? 4 : 0));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const auto whole = ReadDialogTemplate(bytes);
    Require(ReadPieceByPiece(bytes) == whole);
    if (whole)
        Require(ReadDialogTemplate(WriteDialogTemplate(*whole)) == whole);
    for (std::size_t start = 0; start < std::min<std::size_t>(size, 64); ++start)
        CheckFieldsAt(bytes, start);
    return 0;
}
