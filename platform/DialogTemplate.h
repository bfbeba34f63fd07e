// Dialog templates in the standard binary layout, little-endian throughout:
//
//   header  style u32, extended style u32, item count u16, x y width height i16 each
//           menu, window class, caption: string-or-number fields
//           if style has DS_SETFONT (0x40): point size u16, font name (string field)
//   items   each aligned to 4 bytes from the template's start:
//           style u32, extended style u32, x y width height i16 each, id u16,
//           class and title (string-or-number fields),
//           creation data: u16 size that counts itself (0: only the size word)
//
// A string-or-number field is either 0xFFFF followed by a u16 number, or a UTF-16LE
// string ended by a zero word (a lone zero word for an empty string).
#pragma once

#include "platform/Text.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace TemplateStyle
{
inline constexpr std::uint32_t SetFont = 0x40;       // DS_SETFONT
inline constexpr std::uint32_t CentreDialog = 0x800; // DS_CENTER
inline constexpr std::uint32_t Visible = 0x10000000; // WS_VISIBLE
inline constexpr std::uint32_t Child = 0x40000000;   // WS_CHILD
inline constexpr std::uint32_t Popup = 0x80000000;   // WS_POPUP
inline constexpr std::uint32_t Caption = 0x00C00000; // WS_CAPTION
inline constexpr std::uint32_t SystemMenu = 0x00080000;
inline constexpr std::uint32_t Border = 0x00800000; // WS_BORDER
inline constexpr std::uint32_t VerticalScroll = 0x00200000;
inline constexpr std::uint32_t TabStop = 0x00010000;
inline constexpr std::uint32_t DefaultButton = 0x1;   // BS_DEFPUSHBUTTON
inline constexpr std::uint32_t MultiLine = 0x2000;    // BS_MULTILINE
inline constexpr std::uint32_t StaticLeft = 0x0;      // SS_LEFT (wrapping)
inline constexpr std::uint32_t StaticCentre = 0x1;    // SS_CENTER
inline constexpr std::uint32_t StaticIcon = 0x3;      // SS_ICON
inline constexpr std::uint32_t StaticBitmap = 0xE;    // SS_BITMAP
inline constexpr std::uint32_t StaticTypeMask = 0x1F; // SS_TYPEMASK
inline constexpr std::uint32_t StaticNotify = 0x100;  // SS_NOTIFY: reports taps
inline constexpr std::uint32_t ListSort = 0x2;        // LBS_SORT
} // namespace TemplateStyle

// Predefined window classes, by their number.
namespace TemplateClass
{
inline constexpr std::uint16_t Button = 0x80;
inline constexpr std::uint16_t Edit = 0x81;
inline constexpr std::uint16_t Static = 0x82;
inline constexpr std::uint16_t ListBox = 0x83;
inline constexpr std::uint16_t ScrollBar = 0x84;
inline constexpr std::uint16_t ComboBox = 0x85;
} // namespace TemplateClass

// A string-or-number field.
struct TemplateField
{
    bool isNumber = false;
    std::uint16_t number = 0;
    Text text; // UTF-8; empty for a number
    bool operator==(const TemplateField&) const = default;
};

struct DialogItemTemplate
{
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::uint16_t id = 0;
    TemplateField windowClass;
    TemplateField title;
    std::vector<std::uint8_t> creationData; // without its size word
    bool operator==(const DialogItemTemplate&) const = default;
};

struct DialogTemplate
{
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    TemplateField menu;
    TemplateField windowClass;
    TemplateField caption;
    std::uint16_t pointSize = 0; // with the font name only when style has SetFont
    Text fontName;
    std::vector<DialogItemTemplate> items;
    bool operator==(const DialogTemplate&) const = default;
};

class CTemplateCursor;

// A template read a piece at a time, for a caller that acts on each item as it comes (the
// relayout stops at an item that names no control). The header is everything before the
// first item: its `items` stay empty and `itemCount` gets the count it announces. An item is
// read from the cursor's position on, after aligning it; `bytes` are the whole template.
// Nothing, with the cursor somewhere inside, when the bytes end early or a field is malformed.
std::optional<DialogTemplate> ReadTemplateHeader(CTemplateCursor& cursor, std::uint16_t& itemCount);
std::optional<DialogItemTemplate> ReadTemplateItem(CTemplateCursor& cursor,
                                                   std::span<const std::uint8_t> bytes);

// Parses a whole template. Nothing when the bytes end early or a field is malformed;
// never reads past the end of `bytes`.
std::optional<DialogTemplate> ReadDialogTemplate(std::span<const std::uint8_t> bytes);

// The binary form of a template; ReadDialogTemplate(WriteDialogTemplate(t)) == t for
// texts of valid UTF-8. What a template string cannot hold is changed on the way: a zero
// character is dropped, a leading U+FFFF (the number marker) becomes U+FFFD, and a byte
// that is not UTF-8 is written as its Windows-1252 character. More than 65535 items, or
// creation data beyond 65533 bytes, are cut off.
std::vector<std::uint8_t> WriteDialogTemplate(const DialogTemplate& dialogTemplate);
