// Where the sub-headings of the running list are, so that "Zurück" finds the one in force at
// its restart without reading back to line 0. Built in one pass over the store when first
// asked, and again only after the store changed; holds one number per sub-heading line.
#pragma once

#include "runner/LineStore.h"

#include <cstdint>
#include <optional>
#include <vector>

class SubHeadingIndex
{
public:
    // The last sub-heading line at or before `line` in `store`, or nothing.
    std::optional<std::int32_t> InForceAt(const LineStore& store, std::int32_t line);

private:
    std::vector<std::int32_t> m_lines; // ascending
    std::optional<std::uint64_t> m_generation; // of the store the lines were read from
    const LineStore* m_store = nullptr;
};
