#include "platform/Text.h"

#include "platform/CodePage.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <limits>

std::string_view TrimCharacters(std::string_view text, std::string_view characters)
{
    // One character, the space of every line read, is compared in place: a set is looked up
    // for each byte.
    const bool one = characters.size() == 1;
    const auto first =
        one ? text.find_first_not_of(characters.front()) : text.find_first_not_of(characters);
    if (first == std::string_view::npos)
        return {};
    const auto last =
        one ? text.find_last_not_of(characters.front()) : text.find_last_not_of(characters);
    return text.substr(first, last - first + 1);
}

Text TrimSpaces(std::string_view text)
{
    return Text(TrimCharacters(text, " "));
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

Text MakeDisplayable(std::string_view text)
{
    Text result;
    result.reserve(text.size());
    while (!text.empty())
    {
        // Valid runs are copied whole: a step may hold megabytes of plain text.
        const std::size_t valid = ValidUtf8PrefixLength(text);
        result.append(text.substr(0, valid));
        text.remove_prefix(valid);
        if (!text.empty())
        {
            AppendUtf8(result, Windows1252ToUnicode(static_cast<unsigned char>(text[0])));
            text.remove_prefix(1);
        }
    }
    return result;
}
