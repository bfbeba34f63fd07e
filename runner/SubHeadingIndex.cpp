#include "runner/SubHeadingIndex.h"

#include "runner/ListLine.h"

#include <algorithm>

std::optional<std::int32_t> SubHeadingIndex::InForceAt(const LineStore& store, std::int32_t line)
{
    if (m_store != &store || m_generation != store.Generation())
    {
        m_store = &store;
        m_generation = store.Generation();
        m_lines.clear();
        for (std::int32_t i = 0; i < store.Count(); ++i)
        {
            if (IsSubHeadingLine(store.GetText(i)))
                m_lines.push_back(i);
        }
    }
    const auto after = std::upper_bound(m_lines.begin(), m_lines.end(), line);
    if (after == m_lines.begin())
        return std::nullopt;
    return *std::prev(after);
}
