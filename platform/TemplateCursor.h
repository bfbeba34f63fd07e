// A read position in the bytes of a dialog template, for walking it one field at a time.
// Every read checks the bytes that are left first: a read that would run past the end
// returns nothing (or false) and leaves the position where it was, so a caller can stop
// at the first failure without ever touching memory outside the span. The cursor does
// not own the bytes; they must outlive it.
#pragma once

#include "platform/DialogTemplate.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

class CTemplateCursor
{
public:
    explicit CTemplateCursor(std::span<const std::uint8_t> bytes);

    // Little-endian values; nothing when fewer bytes are left than the value needs.
    std::optional<std::uint16_t> ReadUInt16();
    std::optional<std::uint32_t> ReadUInt32();
    std::optional<std::int16_t> ReadInt16();

    // Passes a string-or-number field: 4 bytes for a number, else the UTF-16 string up to
    // and including its zero word. False when the field ends early.
    bool SkipTemplateString();
    // Moves to the next multiple of 4 bytes from the start of the span. False when that
    // lies past the end.
    bool AlignToFourBytes();
    // Passes `count` bytes. False when fewer are left.
    bool Skip(std::size_t count);
    // Bytes passed since the start of the span.
    std::size_t Position() const;
    // Bytes left after the position.
    std::size_t Remaining() const;

    // Reads a string-or-number field, its string converted to UTF-8. Nothing when the
    // field ends early or its string is not valid UTF-16 (a lone surrogate).
    std::optional<TemplateField> ReadField();

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};
