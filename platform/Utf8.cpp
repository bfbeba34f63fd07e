#include "platform/Utf8.h"

#include "platform/CodePage.h"

std::size_t ReadUtf8SequenceLength(std::string_view text)
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
    if (value < minimum || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}

bool StartsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

std::size_t ValidUtf8PrefixLength(std::string_view text)
{
    std::size_t valid = 0;
    while (valid < text.size())
    {
        // Most text is ASCII: no call for each of those bytes.
        if (static_cast<unsigned char>(text[valid]) < 0x80)
        {
            ++valid;
            continue;
        }
        const std::size_t length = ValidUtf8SequenceLength(text.substr(valid));
        if (length == 0)
            break;
        valid += length;
    }
    return valid;
}

bool IsValidUtf8(std::string_view text)
{
    return ValidUtf8PrefixLength(text) == text.size();
}

char32_t TakeCharacter(std::string_view& text)
{
    const std::size_t length = ValidUtf8SequenceLength(text);
    const auto lead = static_cast<unsigned char>(text.front());
    if (length == 0)
    {
        text.remove_prefix(1);
        return Windows1252ToUnicode(lead);
    }
    char32_t value = length == 1 ? lead : lead & (0x7Fu >> length);
    for (std::size_t i = 1; i < length; ++i)
        value = (value << 6) | (static_cast<unsigned char>(text[i]) & 0x3Fu);
    text.remove_prefix(length);
    return value;
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
