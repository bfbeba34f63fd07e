#include "stopwatch/StopwatchStart.h"

StopwatchStart ReadStopwatchStart(std::string_view line)
{
    const Text rest = TrimSpaces(line.substr(line.empty() ? 0 : 1));
    const auto space = rest.find(' ');
    StopwatchStart start;
    start.seconds = ReadLeadingInteger(std::string_view(rest).substr(0, space));
    if (space != Text::npos)
        start.name = rest.substr(space + 1);
    return start;
}
