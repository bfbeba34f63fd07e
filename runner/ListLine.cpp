#include "runner/ListLine.h"

namespace
{
constexpr std::string_view SectionSign = "\u00A7";

LineKind KindOf(std::string_view line)
{
    if (line.empty() || line.front() == '#')
        return LineKind::Blank;
    if (StartsWithCharacter(line, SectionSign))
        return LineKind::TextFile;
    switch (line.front())
    {
    case '$':
        return LineKind::Heading;
    case '!':
        return LineKind::SubHeading;
    case ':':
        return line.size() >= 2 ? LineKind::StopwatchStart : LineKind::StopwatchCheck;
    case '*':
        return LineKind::Picture;
    case '@':
        return line.size() == 1 ? LineKind::EndOfList : LineKind::Jump;
    case '%':
        return LineKind::Label;
    default:
        break;
    }
    switch (line.back())
    {
    case ';':
        return LineKind::StepEnd;
    case '?':
        return LineKind::Question;
    case ',':
        return LineKind::TextWithComma;
    default:
        return LineKind::Text;
    }
}
} // namespace

ListLine ClassifyLine(std::string_view line)
{
    ListLine read;
    read.kind = KindOf(line);
    switch (read.kind)
    {
    case LineKind::Blank:
    case LineKind::StopwatchCheck:
    case LineKind::EndOfList:
    case LineKind::Label:
        break;
    case LineKind::TextFile:
        read.argument = TrimSpaces(WithoutFirstCharacter(line));
        break;
    case LineKind::Heading:
    case LineKind::SubHeading:
        read.argument = line.substr(1);
        break;
    case LineKind::StopwatchStart:
    case LineKind::Picture:
    case LineKind::Jump:
        read.argument = TrimSpaces(line.substr(1));
        break;
    case LineKind::StepEnd:
    case LineKind::TextWithComma:
        // The marker is ASCII: one byte.
        read.argument = line.substr(0, line.size() - 1);
        break;
    case LineKind::Question:
    case LineKind::Text:
        read.argument = line;
        break;
    }
    return read;
}

std::optional<AnswerLabels> ReadAnswerLabels(std::string_view targetsLine)
{
    const auto slash = targetsLine.find('/');
    if (slash == std::string_view::npos)
        return std::nullopt;
    return AnswerLabels{TrimSpaces(targetsLine.substr(0, slash)),
                        TrimSpaces(targetsLine.substr(slash + 1))};
}

std::optional<Text> LabelNameOf(std::string_view storedLine)
{
    if (storedLine.empty() || storedLine.front() != '%')
        return std::nullopt;
    return TrimSpaces(storedLine.substr(1));
}

bool IsStepEndLine(std::string_view storedLine)
{
    const std::string_view trimmed = TrimCharacters(storedLine, " ");
    return !trimmed.empty() && trimmed.back() == ';';
}

bool IsSubHeadingLine(std::string_view storedLine)
{
    return !storedLine.empty() && storedLine.front() == '!';
}
