#include "runner/ListLine.h"

namespace
{
constexpr std::string_view SectionSign = "\u00A7";
} // namespace

LineKind ClassifyLine(std::string_view line)
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
        return LineKind::Jump;
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

std::optional<Text> LabelNameOf(std::string_view storedLine)
{
    if (storedLine.empty() || storedLine.front() != '%')
        return std::nullopt;
    return TrimSpaces(storedLine.substr(1));
}

bool IsStepEndLine(std::string_view storedLine)
{
    const Text trimmed = TrimSpaces(storedLine);
    return !trimmed.empty() && trimmed.back() == ';';
}

bool IsSubHeadingLine(std::string_view storedLine)
{
    return !storedLine.empty() && storedLine.front() == '!';
}
