#include "frontends/TerminalText.h"

#include "platform/Utf8.h"

#include <algorithm>

namespace
{
// Bytes taken by the first `count` characters of the text.
std::size_t BytesOfCharacters(std::string_view text, std::size_t count)
{
    std::size_t position = 0;
    while (position < text.size() && count > 0)
    {
        ++position;
        while (position < text.size() && !StartsCharacter(text[position]))
            ++position;
        --count;
    }
    return position;
}

void WrapParagraph(std::string_view paragraph, std::size_t width, std::vector<Text>& lines)
{
    Text line;
    std::size_t lineWidth = 0;
    std::size_t position = 0;
    while (position <= paragraph.size())
    {
        auto space = paragraph.find(' ', position);
        if (space == std::string_view::npos)
            space = paragraph.size();
        std::string_view word = paragraph.substr(position, space - position);
        std::size_t wordWidth = DisplayWidth(word);
        if (lineWidth > 0 && lineWidth + 1 + wordWidth > width)
        {
            lines.push_back(std::move(line));
            line.clear();
            lineWidth = 0;
        }
        else if (lineWidth > 0)
        {
            line += ' ';
            ++lineWidth;
        }
        while (wordWidth > width)
        {
            const std::size_t piece = BytesOfCharacters(word, width);
            lines.emplace_back(word.substr(0, piece));
            word.remove_prefix(piece);
            wordWidth -= width;
        }
        line += word;
        lineWidth += wordWidth;
        position = space + 1;
    }
    lines.push_back(std::move(line));
}
} // namespace

Text TerminalSafeText(std::string_view text, LineFeeds lineFeeds)
{
    const Text displayable = MakeDisplayable(text);
    Text safe;
    safe.reserve(displayable.size());
    for (std::size_t i = 0; i < displayable.size(); ++i)
    {
        const auto byte = static_cast<unsigned char>(displayable[i]);
        const bool c1Control = byte == 0xC2 && i + 1 < displayable.size() &&
                               (static_cast<unsigned char>(displayable[i + 1]) & 0xE0) == 0x80;
        if (byte == '\n' && lineFeeds == LineFeeds::BreakLines)
            safe += '\n';
        else if (byte < 0x20 || byte == 0x7F)
            safe += '?';
        else if (c1Control)
        {
            safe += '?';
            ++i;
        }
        else
            safe += displayable[i];
    }
    return safe;
}

std::size_t DisplayWidth(std::string_view text)
{
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), StartsCharacter));
}

std::vector<Text> WrapText(std::string_view text, std::size_t width)
{
    width = std::max<std::size_t>(width, 1);
    std::vector<Text> lines;
    std::size_t start = 0;
    for (;;)
    {
        const auto end = text.find('\n', start);
        WrapParagraph(text.substr(start, end == std::string_view::npos ? end : end - start), width,
                      lines);
        if (end == std::string_view::npos)
            return lines;
        start = end + 1;
    }
}
