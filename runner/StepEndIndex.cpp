#include "runner/StepEndIndex.h"

#include "runner/ListLine.h"

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
