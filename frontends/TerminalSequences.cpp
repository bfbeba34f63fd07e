#include "frontends/TerminalSequences.h"

namespace
{
constexpr std::string_view ControlSequence = "\x1b[";
constexpr std::string_view SaveCursor = "\x1b"
                                        "7";
constexpr std::string_view RestoreCursor = "\x1b"
                                           "8";
} // namespace

Text PlainScreenText(const std::vector<Text>& lines)
{
    Text text;
    for (const Text& line : lines)
        text += line + "\n";
    return text;
}

Text WholeScreenSequence(const std::vector<Text>& lines)
{
    Text sequence = Text(ControlSequence) + "H" + Text(ControlSequence) + "2J";
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        if (i > 0)
            sequence += "\r\n";
        sequence += lines[i];
    }
    return sequence;
}

std::optional<Text> ChangedLinesSequence(const std::vector<Text>& shown,
                                         const std::vector<Text>& next)
{
    if (shown.size() != next.size())
        return std::nullopt;
    Text sequence;
    for (std::size_t i = 0; i < next.size(); ++i)
    {
        if (next[i] == shown[i])
            continue;
        // The line is cleared before it is written: clearing after a line as wide as the
        // terminal would take its last character with it.
        sequence += Text(ControlSequence) + DecimalText(static_cast<std::int64_t>(i + 1)) + ";1H" +
                    Text(ControlSequence) + "K" + next[i];
    }
    if (sequence.empty())
        return sequence;
    return Text(SaveCursor) + sequence + Text(RestoreCursor);
}
