// Where the step ends of a line store are, so that a walk back costs the same however far the
// previous step end lies: the list checker walks back from every screen a list can show, and
// thousands of stopwatch warnings or pictures may follow one step end. Built in one pass over
// the store when first asked, and again only after the store changed; holds one number per
// step-end line.
#pragma once

#include "runner/LineStore.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

class CStepEndIndex
{
public:
    // The step-end lines of `store`, ascending (IsStepEndLine). The reference holds until the
    // next call.
    const std::vector<std::int32_t>& Lines(const LineStore& store);
    // How many step ends of `store` lie at or before `line`. Looked for first next to the
    // answer before, since the checker asks in the order of the lines.
    std::size_t CountUpTo(const LineStore& store, std::int32_t line);
    // Lines of a store read to build the index in the last call to Lines or CountUpTo: 0 when
    // it was kept.
    std::int32_t LinesRead() const { return m_linesRead; }

private:
    std::vector<std::int32_t> m_lines;
    std::optional<std::uint64_t> m_generation; // of the store the lines were read from
    const LineStore* m_store = nullptr;
    std::int32_t m_linesRead = 0;
    std::size_t m_lastCount = 0;
};
