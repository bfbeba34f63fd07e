// The stopwatch as a list drives it: a start line sets it going, a check line asks whether it
// still runs, and leaving a list stops it. CStopwatch is the one implementation.
#pragma once

#include "platform/Text.h"

#include <string_view>

class IStopwatch
{
public:
    virtual ~IStopwatch() = default;
    // A start line after its ":": the seconds, and after a space the name. A duration that
    // reads as 0 is reported and starts nothing.
    virtual void StartStopwatch(std::string_view start) = 0;
    // True, with the warning in `warning`, while the stopwatch runs.
    virtual bool CheckStopwatch(Text& warning) const = 0;
    virtual void CancelStopwatch() = 0;
};
