// One thing the checker found in a list or in a file that a list loads.
#pragma once

#include "platform/Text.h"

#include <cstdint>

enum class Severity
{
    Error,   // the runner reports it, breaks off, or never stops
    Warning, // legal, but almost surely not what the author meant
};

struct Finding
{
    Text file;             // as the user named it, or as found from there
    std::int32_t line = 0; // from 1
    Severity severity = Severity::Error;
    Text code; // stable: "missing-label", "endless-pass", ...
    Text text; // German, naming what is wrong
    bool operator==(const Finding&) const = default;
};
