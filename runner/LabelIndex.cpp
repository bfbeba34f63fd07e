#include "runner/LabelIndex.h"

#include "runner/ListLine.h"

std::optional<std::int32_t> CLabelIndex::FindLabelLine(const LineStore& store, const Text& name)
{
    if (m_store != &store || m_generation != store.Generation())
    {
        m_lines.clear();
        const std::int32_t count = store.Count();
        for (std::int32_t i = 0; i < count; ++i)
        {
            // emplace keeps the first: of two labels of one name, the lower line wins.
            if (auto label = LabelNameOf(store.GetText(i)))
                m_lines.emplace(std::move(*label), i);
        }
        m_store = &store;
        m_generation = store.Generation();
    }
    const auto found = m_lines.find(name);
    return found == m_lines.end() ? std::nullopt : std::optional<std::int32_t>(found->second);
}
