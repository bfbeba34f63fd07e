#include "platform/TemplateCursor.h"

#include "platform/Utf8.h"

namespace
{
constexpr std::uint16_t NumberMarker = 0xFFFF;

bool IsHighSurrogate(std::uint16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(std::uint16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
} // namespace

CTemplateCursor::CTemplateCursor(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

std::optional<std::uint16_t> CTemplateCursor::ReadUInt16()
{
    if (Remaining() < 2)
        return std::nullopt;
    const auto value =
        static_cast<std::uint16_t>(m_bytes[m_position] | (m_bytes[m_position + 1] << 8));
    m_position += 2;
    return value;
}

std::optional<std::uint32_t> CTemplateCursor::ReadUInt32()
{
    if (Remaining() < 4)
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;)
        value = (value << 8) | m_bytes[m_position + i];
    m_position += 4;
    return value;
}

std::optional<std::int16_t> CTemplateCursor::ReadInt16()
{
    const auto value = ReadUInt16();
    if (!value)
        return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

bool CTemplateCursor::SkipTemplateString()
{
    const std::size_t start = m_position;
    const auto first = ReadUInt16();
    if (!first)
        return false;
    if (*first == NumberMarker)
    {
        if (ReadUInt16())
            return true;
        m_position = start;
        return false;
    }
    for (auto unit = first; unit; unit = ReadUInt16())
    {
        if (*unit == 0)
            return true;
    }
    m_position = start;
    return false;
}

bool CTemplateCursor::AlignToFourBytes()
{
    const std::size_t padding = (4 - m_position % 4) % 4;
    return Skip(padding);
}

bool CTemplateCursor::Skip(std::size_t count)
{
    if (Remaining() < count)
        return false;
    m_position += count;
    return true;
}

std::size_t CTemplateCursor::Position() const
{
    return m_position;
}

std::size_t CTemplateCursor::Remaining() const
{
    return m_bytes.size() - m_position;
}

std::optional<TemplateField> CTemplateCursor::ReadField()
{
    const std::size_t start = m_position;
    const auto fail = [&]() -> std::optional<TemplateField>
    {
        m_position = start;
        return std::nullopt;
    };
    TemplateField field;
    auto unit = ReadUInt16();
    if (!unit)
        return fail();
    if (*unit == NumberMarker)
    {
        const auto number = ReadUInt16();
        if (!number)
            return fail();
        field.isNumber = true;
        field.number = *number;
        return field;
    }
    for (; unit && *unit != 0; unit = ReadUInt16())
    {
        char32_t codePoint = *unit;
        if (IsHighSurrogate(*unit))
        {
            const auto low = ReadUInt16();
            if (!low || !IsLowSurrogate(*low))
                return fail();
            codePoint = 0x10000 + ((char32_t{*unit} - 0xD800) << 10) + (*low - 0xDC00);
        }
        else if (IsLowSurrogate(*unit))
            return fail();
        AppendUtf8(field.text, codePoint);
    }
    if (!unit)
        return fail();
    return field;
}
