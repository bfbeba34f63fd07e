#include "runner/StepEndIndex.h"

#include "runner/ListLine.h"

#include <algorithm>

const std::vector<std::int32_t>& CStepEndIndex::Lines(const LineStore& store)
{
    m_linesRead = 0;
    if (m_store == &store && m_generation == store.Generation())
        return m_lines;
    m_store = &store;
    m_generation = store.Generation();
    m_lines.clear();
    m_linesRead = store.Count();
    for (std::int32_t i = 0; i < m_linesRead; ++i)
    {
        if (IsStepEndLine(store.GetText(i)))
            m_lines.push_back(i);
    }
    return m_lines;
}

std::size_t CStepEndIndex::CountUpTo(const LineStore& store, std::int32_t line)
{
    const std::vector<std::int32_t>& lines = Lines(store);
    const auto fits = [&](std::size_t count)
    {
        return count <= lines.size() && (count == 0 || lines[count - 1] <= line) &&
               (count == lines.size() || lines[count] > line);
    };
    for (std::size_t count = m_lastCount; count < m_lastCount + 2; ++count)
    {
        if (fits(count))
            return m_lastCount = count;
    }
    m_lastCount = static_cast<std::size_t>(std::upper_bound(lines.begin(), lines.end(), line) -
                                           lines.begin());
    return m_lastCount;
}
