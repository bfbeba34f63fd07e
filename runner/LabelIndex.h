// Where each label of the line store stands, so that a jump costs the same however long the
// list is. Rebuilt, in one pass over the store, when the store has changed.
#pragma once

#include "runner/LineStore.h"

#include <optional>
#include <unordered_map>

class CLabelIndex
{
public:
    // Index of the first label line named `name`, or nothing when there is none.
    std::optional<std::int32_t> FindLabelLine(const LineStore& store, const Text& name);

private:
    std::unordered_map<Text, std::int32_t> m_lines;
    const LineStore* m_store = nullptr;
    std::uint64_t m_generation = 0;
};
