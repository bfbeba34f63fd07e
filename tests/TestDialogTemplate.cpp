#include "platform/ControlId.h"
#include "platform/DialogTemplate.h"
#include "platform/Resources.h"
#include "platform/TemplateCursor.h"

#include <array>
#include <gtest/gtest.h>
#include <string_view>

namespace
{
using Bytes = std::vector<std::uint8_t>;

TemplateField Number(std::uint16_t number)
{
    return {true, number, {}};
}

TemplateField String(Text text)
{
    return {false, 0, std::move(text)};
}

DialogItemTemplate Item(std::uint16_t id, TemplateField windowClass, TemplateField title,
                        Bytes creationData = {})
{
    DialogItemTemplate item;
    item.style = TemplateStyle::Child | TemplateStyle::Visible;
    item.extendedStyle = 0x204;
    item.x = -3;
    item.y = 7;
    item.width = 300;
    item.height = -32768;
    item.id = id;
    item.windowClass = std::move(windowClass);
    item.title = std::move(title);
    item.creationData = std::move(creationData);
    return item;
}

// Every kind of field the layout knows, with strings of odd and even length so that items
// start both on and off a four-byte boundary.
DialogTemplate RichTemplate(std::uint32_t fontBit)
{
    DialogTemplate result;
    result.style = TemplateStyle::Popup | fontBit;
    result.extendedStyle = 0x80000001;
    result.x = 1;
    result.y = -2;
    result.width = 136;
    result.height = 134;
    result.menu = Number(7);
    result.windowClass = String("Klasse");
    result.caption = String("Größe 😀𝄞");
    if (fontBit != 0)
    {
        result.pointSize = 10;
        result.fontName = "Sans";
    }
    result.items = {
        Item(1000, Number(TemplateClass::Button), String("a")),
        Item(0xFFFF, String("Named"), Number(14), {0x42}),
        Item(3, Number(TemplateClass::Static), String(""), {1, 2, 3, 4, 5}),
        Item(0, String("ab"), String("Zurück\nWeiter"), {0, 0}),
    };
    return result;
}

Bytes Utf16(std::u16string_view text)
{
    Bytes bytes;
    for (const char16_t unit : text)
    {
        bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }
    return bytes;
}

Bytes Concatenate(std::initializer_list<Bytes> parts)
{
    Bytes bytes;
    for (const Bytes& part : parts)
        bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}
} // namespace

TEST(DialogTemplate, RoundTripsEveryKindOfField)
{
    for (const std::uint32_t fontBit : {0u, TemplateStyle::SetFont})
    {
        const DialogTemplate original = RichTemplate(fontBit);
        const Bytes bytes = WriteDialogTemplate(original);
        const auto read = ReadDialogTemplate(bytes);
        ASSERT_TRUE(read.has_value()) << "font bit " << fontBit;
        EXPECT_EQ(*read, original);
        EXPECT_EQ(WriteDialogTemplate(*read), bytes);
    }
}

TEST(DialogTemplate, WritesTheStandardLayout)
{
    DialogTemplate dialog;
    dialog.style = TemplateStyle::SetFont;
    dialog.width = 0x0102;
    dialog.caption = String("A");
    dialog.pointSize = 8;
    dialog.fontName = "😀"; // beyond the BMP: a surrogate pair
    dialog.items = {Item(0x1234, Number(0x82), String("xyz"), {9, 8, 7})};
    dialog.items[0].extendedStyle = 0;
    dialog.items[0].x = -1;

    const Bytes expected = Concatenate({
        {0x40, 0, 0, 0, 0, 0, 0, 0, 1, 0}, // style, extended style, count
        {0, 0, 0, 0, 0x02, 0x01, 0, 0},    // x y width height
        {0, 0, 0, 0, 'A', 0, 0, 0},        // menu, class, caption
        {8, 0},
        Utf16(u"\xD83D\xDE00"),
        {0, 0},                               // font: 34 bytes so far
        {0, 0},                               // padding to 36
        {0, 0, 0, 0x50, 0, 0, 0, 0},          // item style, extended style
        {0xFF, 0xFF, 7, 0, 0x2C, 1, 0, 0x80}, // x y width height
        {0x34, 0x12, 0xFF, 0xFF, 0x82, 0},    // id, class
        Utf16(u"xyz"),
        {0, 0},          // title
        {5, 0, 9, 8, 7}, // creation data with its size
    });
    EXPECT_EQ(WriteDialogTemplate(dialog), expected);
}

TEST(DialogTemplate, WritesTextsTheLayoutCannotHoldAsNearAsItCan)
{
    struct Case
    {
        Text written;
        Text read;
    };
    const Case cases[] = {
        {"\xEF\xBF\xBF", "\xEF\xBF\xBD"}, // U+FFFF would read as the number marker
        {"a\xEF\xBF\xBF\xEF\xBF\xBF", "a\xEF\xBF\xBF\xEF\xBF\xBF"}, // only at the start
        {Text("\0\xEF\xBF\xBF", 4), "\xEF\xBF\xBD"},                // first once the zero is gone
        {Text("a\0b", 3), "ab"}, // a zero word would end the string
        {"\x80x", "€x"},         // a stray byte stands for its Windows-1252 sign
    };
    for (const Case& test : cases)
    {
        DialogTemplate dialog;
        dialog.items = {Item(1, String(test.written), String(test.written))};
        const auto read = ReadDialogTemplate(WriteDialogTemplate(dialog));
        ASSERT_TRUE(read.has_value()) << test.read;
        EXPECT_EQ(read->items[0].title, String(test.read));
        EXPECT_EQ(read->items[0].windowClass, String(test.read));
    }
}

TEST(DialogTemplate, EveryTruncationIsRefusedWithoutReadingPastTheEnd)
{
    const Bytes bytes = WriteDialogTemplate(RichTemplate(TemplateStyle::SetFont));
    for (std::size_t length = 0; length < bytes.size(); ++length)
    {
        // A copy of exactly this length, so that the sanitizer sees any read beyond it.
        const Bytes prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(ReadDialogTemplate(prefix).has_value()) << "length " << length;
    }
}

TEST(DialogTemplate, MalformedFieldsAreRefused)
{
    DialogTemplate dialog;
    dialog.style = TemplateStyle::SetFont;
    dialog.fontName = "F";
    dialog.items = {Item(1, Number(0x80), String("t"))};
    const Bytes valid = WriteDialogTemplate(dialog);
    ASSERT_TRUE(ReadDialogTemplate(valid).has_value());
    const std::size_t fontName = 26;   // after the header, three empty fields and the size
    const std::size_t title = 32 + 22; // item at 32; id and class before the title
    ASSERT_EQ(valid[fontName], 'F');
    ASSERT_EQ(valid[title], 't');

    struct Case
    {
        const char* what;
        std::size_t offset;
        std::uint8_t low;
        std::uint8_t high;
    };
    const Case cases[] = {
        {"lone high surrogate", title, 0x00, 0xD8},      {"lone low surrogate", title, 0x00, 0xDC},
        {"font name as a number", fontName, 0xFF, 0xFF}, {"creation data size 1", title + 4, 1, 0},
        {"creation data past the end", title + 4, 4, 0}, {"more items than bytes", 8, 2, 0},
    };
    for (const Case& test : cases)
    {
        Bytes bytes = valid;
        bytes[test.offset] = test.low;
        bytes[test.offset + 1] = test.high;
        EXPECT_FALSE(ReadDialogTemplate(bytes).has_value()) << test.what;
    }
}

TEST(TemplateCursor, ReadsLittleEndianAndStopsAtTheEnd)
{
    const Bytes bytes = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x07};
    CTemplateCursor cursor(bytes);
    EXPECT_EQ(cursor.ReadUInt32(), 0x04030201u);
    EXPECT_EQ(cursor.ReadInt16(), -2);
    EXPECT_EQ(cursor.ReadUInt16(), std::nullopt);
    EXPECT_FALSE(cursor.Skip(2));
    EXPECT_EQ(cursor.Position(), 6u);
    EXPECT_TRUE(cursor.Skip(1));
    EXPECT_EQ(cursor.Remaining(), 0u);
}

TEST(TemplateCursor, SkipsStringOrNumberFields)
{
    struct Case
    {
        Bytes bytes;
        bool passes;
        std::size_t position;
    };
    const Case cases[] = {
        {{0xFF, 0xFF, 0x80, 0x00, 0x99}, true, 4}, // number
        {{0x00, 0x00, 0x41, 0x00}, true, 2},       // empty string
        {Concatenate({Utf16(u"abc"), {0, 0}}), true, 8},
        {{0xFF, 0xFF, 0x80}, false, 0}, // number cut short
        {Utf16(u"abc"), false, 0},      // no terminator
        {{0x41, 0x00, 0x00}, false, 0}, // terminator cut short
    };
    for (const Case& test : cases)
    {
        CTemplateCursor cursor(test.bytes);
        EXPECT_EQ(cursor.SkipTemplateString(), test.passes) << test.bytes.size();
        EXPECT_EQ(cursor.Position(), test.position);
    }
}

TEST(TemplateCursor, AlignsToFourBytesFromTheStart)
{
    const Bytes bytes(10, 0);
    for (std::size_t start = 0; start <= 10; ++start)
    {
        CTemplateCursor cursor(bytes);
        ASSERT_TRUE(cursor.Skip(start));
        const std::size_t aligned = (start + 3) / 4 * 4;
        EXPECT_EQ(cursor.AlignToFourBytes(), aligned <= 10) << start;
        EXPECT_EQ(cursor.Position(), aligned <= 10 ? aligned : start);
    }
}

TEST(Resources, PortraitTemplateHoldsTheDialogsControls)
{
    struct Expected
    {
        int id;
        std::uint16_t windowClass;
        std::uint32_t kindStyle;
        const char* title;
        bool visible;
        std::int16_t x, y, width, height;
    };
    using namespace TemplateStyle;
    const std::uint32_t menu = MultiLine;
    const Expected expected[] = {
        {ControlId::MenuButton0, TemplateClass::Button, menu, "Button1", false, 4, 23, 60, 25},
        {ControlId::MenuButton1, TemplateClass::Button, menu, "Button2", false, 72, 23, 60, 25},
        {ControlId::MenuButton2, TemplateClass::Button, menu, "Button4", false, 4, 51, 60, 23},
        {ControlId::MenuButton3, TemplateClass::Button, menu, "Button5", false, 72, 51, 62, 23},
        {ControlId::MenuButton4, TemplateClass::Button, menu, "Button6", false, 4, 77, 60, 23},
        {ControlId::MenuButton5, TemplateClass::Button, menu, "Button7", false, 72, 77, 62, 23},
        {ControlId::Heading, TemplateClass::Static, StaticCentre, "Tavrino", true, 6, 0, 128, 8},
        {ControlId::SubHeading, TemplateClass::Static, StaticCentre,
         "Checklisten Schritt für Schritt", true, 2, 9, 132, 17},
        {ControlId::BodyText, TemplateClass::Static, StaticLeft, "", true, 1, 26, 132, 73},
        {ControlId::Picture, TemplateClass::Static, StaticBitmap | StaticNotify, "", true, 9, 1, 11,
         11},
        {ControlId::CentreButton, TemplateClass::Button, DefaultButton, "", true, 53, 102, 31, 32},
        {ControlId::LeftButton, TemplateClass::Button, 0, "", false, 4, 102, 44, 32},
        {ControlId::RightButton, TemplateClass::Button, 0, "", false, 90, 102, 44, 32},
        {ControlId::LineStoreList, TemplateClass::ListBox, ListSort | Border | VerticalScroll, "",
         false, 2, 3, 8, 15},
    };
    const auto dialog =
        ReadDialogTemplate(FindResource(ResourceType::Dialog, ResourceId::PortraitTemplate));
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->caption, String("Tavrino"));
    EXPECT_EQ(dialog->width, 136);
    EXPECT_EQ(dialog->height, 134);
    EXPECT_EQ(dialog->pointSize, 10);
    EXPECT_EQ(dialog->fontName, "Microsoft Sans Serif");
    EXPECT_NE(dialog->style & SetFont, 0u);
    EXPECT_NE(dialog->style & CentreDialog, 0u);
    ASSERT_EQ(dialog->items.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i)
    {
        const DialogItemTemplate& item = dialog->items[i];
        const Expected& want = expected[i];
        SCOPED_TRACE(want.id);
        EXPECT_EQ(item.id, want.id);
        EXPECT_EQ(item.windowClass, Number(want.windowClass));
        EXPECT_EQ(item.title, String(want.title));
        EXPECT_EQ((item.style & Visible) != 0, want.visible);
        EXPECT_NE(item.style & Child, 0u);
        EXPECT_EQ(item.style & (0xFFFF | Border | VerticalScroll), want.kindStyle);
        EXPECT_EQ(item.x, want.x);
        EXPECT_EQ(item.y, want.y);
        EXPECT_EQ(item.width, want.width);
        EXPECT_EQ(item.height, want.height);
    }
}

TEST(Resources, LandscapeTemplateIconAndUnknownIds)
{
    const auto dialog =
        ReadDialogTemplate(FindResource(ResourceType::Dialog, ResourceId::LandscapeTemplate));
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->width, 210);
    EXPECT_EQ(dialog->height, 129);
    EXPECT_EQ(dialog->pointSize, 8);
    EXPECT_EQ(dialog->fontName, "MS Shell Dlg");
    ASSERT_EQ(dialog->items.size(), 1u);
    const DialogItemTemplate& item = dialog->items[0];
    EXPECT_EQ(item.id, 200);
    EXPECT_EQ(item.windowClass, Number(TemplateClass::Static));
    EXPECT_EQ((std::array{item.x, item.y, item.width, item.height}),
              (std::array<std::int16_t, 4>{57, 49, 112, 23}));

    EXPECT_TRUE(FindResource(ResourceType::Dialog, 104).empty());
    EXPECT_TRUE(FindResource(ResourceType::Icon, ResourceId::PortraitTemplate).empty());
    const auto icon = FindResource(ResourceType::Icon, ResourceId::ProgramIcon);
    EXPECT_TRUE(std::string_view(reinterpret_cast<const char*>(icon.data()), icon.size())
                    .starts_with("/* XPM */"));
}
