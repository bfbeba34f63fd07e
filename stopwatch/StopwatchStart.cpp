#include "stopwatch/StopwatchStart.h"

#include "app/DialogTexts.h"

StopwatchStart ReadStopwatchStart(std::string_view start)
{
    const Text rest = TrimSpaces(start);
    const auto space = rest.find(' ');
    StopwatchStart read;
    read.seconds = ReadLeadingInteger(std::string_view(rest).substr(0, space));
    if (space != Text::npos)
        read.name = rest.substr(space + 1);
    return read;
}

Text StopwatchWarning(std::string_view name)
{
    Text warning = DialogText::StopwatchWarningStart;
    if (!name.empty())
        warning += DialogText::StopwatchWarningFor + Text(name) + " ";
    warning += DialogText::StopwatchWarningEnd;
    return warning;
}
