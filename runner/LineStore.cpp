#include "runner/LineStore.h"

#include "platform/Collation.h"

#include <algorithm>
#include <iterator>
#include <limits>
#include <utility>

namespace
{

struct CKeyedEntry
{
    Text key;
    Text entry;
};

} // namespace

void LineStore::Clear()
{
    ++m_generation;
    m_entries.clear();
    m_sortedCount = 0;
    m_hasPendingSorted = false;
}

void LineStore::Append(Text line)
{
    ++m_generation;
    // Entries added sorted before this one must take their places first, or they would
    // be sorted past it.
    SortPending();
    m_entries.push_back(std::move(line));
}

void LineStore::AddSorted(Text entry)
{
    ++m_generation;
    if (!m_hasPendingSorted)
    {
        m_sortedCount = m_entries.size();
        m_hasPendingSorted = true;
    }
    m_entries.push_back(std::move(entry));
}

std::int32_t LineStore::Count() const
{
    constexpr std::size_t limit = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::min(m_entries.size(), limit));
}

const Text& LineStore::GetText(std::int32_t index) const
{
    static const Text empty;
    if (index < 0 || index >= Count())
        return empty;
    SortPending();
    return m_entries[static_cast<std::size_t>(index)];
}

void LineStore::AppendLines(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size())
    {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
        {
            Append(Text(text.substr(start)));
            return;
        }
        Append(Text(text.substr(start, end - start)));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
}

const std::vector<Text>& LineStore::Entries() const
{
    SortPending();
    return m_entries;
}

// Each pending entry goes before the first earlier entry that sorts after it. Those
// places only move forward as the pending entries grow, so one sort of the pending
// entries and one merge give the order that adding them one by one would give, even
// when appended entries left the earlier ones unsorted.
void LineStore::SortPending() const
{
    if (!m_hasPendingSorted)
        return;
    m_hasPendingSorted = false;
    const std::size_t earlierCount = m_sortedCount;
    m_sortedCount = m_entries.size();

    std::vector<CKeyedEntry> pending;
    pending.reserve(m_entries.size() - earlierCount);
    for (std::size_t i = earlierCount; i < m_entries.size(); ++i)
        pending.push_back({MakeCollationKey(m_entries[i]), std::move(m_entries[i])});
    std::sort(pending.begin(), pending.end(),
              [](const CKeyedEntry& a, const CKeyedEntry& b)
              { return KeyedCollatesBefore(a.key, a.entry, b.key, b.entry); });
    m_entries.resize(earlierCount);
    if (earlierCount == 0)
    {
        for (CKeyedEntry& item : pending)
            m_entries.push_back(std::move(item.entry));
        return;
    }

    std::vector<Text> earlier = std::move(m_entries);
    m_entries.clear();
    m_entries.reserve(earlier.size() + pending.size());
    std::size_t next = 0;
    Text nextKey = MakeCollationKey(earlier[0]);
    for (CKeyedEntry& item : pending)
    {
        while (next < earlier.size() &&
               !KeyedCollatesBefore(item.key, item.entry, nextKey, earlier[next]))
        {
            m_entries.push_back(std::move(earlier[next]));
            if (++next < earlier.size())
                nextKey = MakeCollationKey(earlier[next]);
        }
        m_entries.push_back(std::move(item.entry));
    }
    for (; next < earlier.size(); ++next)
        m_entries.push_back(std::move(earlier[next]));
}
