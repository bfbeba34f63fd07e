// One thing the checker found in a list or in a file that a list loads.
#pragma once

#include "platform/Text.h"

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <vector>

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
    // The same file with the bytes of its name as they stand, for what has to find it again
    // (a URI); `file` is made displayable.
    Text path;
    bool operator==(const Finding&) const = default;
};

// "error" or "warning", as the findings' lines and logs name them.
inline const char* SeverityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

// The order findings are reported in: by file, then by line; those of one line keep the order
// the checker found them in.
inline void SortByPlace(std::vector<Finding>& findings)
{
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding& left, const Finding& right)
                     { return std::tie(left.file, left.line) < std::tie(right.file, right.line); });
}
