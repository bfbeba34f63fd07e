#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <limits>

Text TrimSpaces(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return Text(text.substr(first, last - first + 1));
}

std::size_t ValidUtf8SequenceLength(std::string_view text)
{
    if (text.empty())
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    char32_t minimum = 0;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
    {
        length = 2;
        minimum = 0x80;
        value = lead & 0x1F;
    }
    else if (lead >= 0xE0 && lead <= 0xEF)
    {
        length = 3;
        minimum = 0x800;
        value = lead & 0x0F;
    }
    else if (lead >= 0xF0 && lead <= 0xF4)
    {
        length = 4;
        minimum = 0x10000;
        value = lead & 0x07;
    }
    else
        return 0;
    if (text.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i)
    {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if (value < minimum || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}

std::size_t FirstCharacterLength(std::string_view text)
{
    if (text.empty())
        return 0;
    const std::size_t length = ValidUtf8SequenceLength(text);
    return length == 0 ? 1 : length;
}

Text WithoutFirstCharacter(std::string_view text)
{
    return Text(text.substr(FirstCharacterLength(text)));
}

bool StartsWithCharacter(std::string_view text, std::string_view character)
{
    return !text.empty() && text.substr(0, FirstCharacterLength(text)) == character;
}

std::int32_t ReadLeadingInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    {
        negative = text[i] == '-';
        ++i;
    }
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(std::min(value, limit - 1));
}

Text DecimalText(std::int64_t value)
{
    return std::to_string(value);
}

char32_t Windows1252ToUnicode(unsigned char byte)
{
    // 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
    static constexpr std::array<char16_t, 32> high = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (byte < 0x80 || byte > 0x9F)
        return byte;
    const char16_t mapped = high[byte - 0x80];
    return mapped == 0 ? char32_t{byte} : char32_t{mapped};
}

void AppendUtf8(Text& text, char32_t codePoint)
{
    if (codePoint < 0x80)
        text += static_cast<char>(codePoint);
    else if (codePoint < 0x800)
    {
        text += static_cast<char>(0xC0 | (codePoint >> 6));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    else if (codePoint < 0x10000)
    {
        text += static_cast<char>(0xE0 | (codePoint >> 12));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    else
    {
        text += static_cast<char>(0xF0 | (codePoint >> 18));
        text += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

Text MakeDisplayable(std::string_view text)
{
    Text result;
    result.reserve(text.size());
    while (!text.empty())
    {
        const std::size_t length = ValidUtf8SequenceLength(text);
        if (length > 0)
        {
            result.append(text.substr(0, length));
            text.remove_prefix(length);
        }
        else
        {
            AppendUtf8(result, Windows1252ToUnicode(static_cast<unsigned char>(text[0])));
            text.remove_prefix(1);
        }
    }
    return result;
}
