// What a stopwatch start line (":" then seconds, then after a space a name) says.
#pragma once

#include "platform/Text.h"

#include <cstdint>
#include <string_view>

struct StopwatchStart
{
    std::int32_t seconds = 0; // 0 when the duration cannot be read
    Text name;                // empty when there is none
};

// `start` is the start line after its ":", trimmed. The duration is the word up to the
// first space, read as far as it holds digits ("90s" is 90, "1:30" is 1); the name is
// everything after that space, as it stands.
StopwatchStart ReadStopwatchStart(std::string_view start);

// The warning of a check line while the stopwatch named `name` (maybe empty) runs.
Text StopwatchWarning(std::string_view name);
