#include "runner/LineStore.h"

#include "platform/Collation.h"

#include <algorithm>
#include <cstring>
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
    m_text.Clear();
    m_ends.Clear();
    m_sortedCount = 0;
    m_hasPendingSorted = false;
}

void LineStore::Append(std::string_view line)
{
    ++m_generation;
    // Entries added sorted before this one must take their places first, or they would
    // be sorted past it.
    SortPending();
    const std::size_t start = m_text.Size();
    if (line.size() > MaximumTextBytes - start ||
        m_ends.Size() >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        return;
    // The line may be a view of this very store, which growing would move.
    const char* const oldData = m_text.Data();
    const bool isOwnText = !line.empty() && oldData != nullptr && line.data() >= oldData &&
                           line.data() < oldData + m_text.Capacity();
    const std::size_t ownOffset = isOwnText ? static_cast<std::size_t>(line.data() - oldData) : 0;
    m_text.Resize(start + line.size());
    if (!line.empty())
        std::memmove(m_text.Data() + start, isOwnText ? m_text.Data() + ownOffset : line.data(),
                     line.size());
    m_ends.PushBack(static_cast<std::uint32_t>(m_text.Size()));
}

void LineStore::AddSorted(std::string_view entry)
{
    if (!m_hasPendingSorted)
        m_sortedCount = m_ends.Size();
    // Append would sort the pending entries first; this one joins them instead.
    m_hasPendingSorted = false;
    Append(entry);
    m_hasPendingSorted = true;
}

void LineStore::AppendLines(std::string_view text)
{
    // The next CR and the next LF are each searched for again only once passed, so that
    // a text with one kind of line end costs one memchr a line.
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const auto next = [end](const char* from, char byte)
    {
        const void* found = std::memchr(from, byte, static_cast<std::size_t>(end - from));
        return found == nullptr ? end : static_cast<const char*>(found);
    };
    const char* start = begin;
    const char* nextCr = next(start, '\r');
    const char* nextLf = next(start, '\n');
    while (start < end)
    {
        const char* lineEnd = std::min(nextCr, nextLf);
        Append(std::string_view(start, static_cast<std::size_t>(lineEnd - start)));
        if (lineEnd == end)
            return;
        start = lineEnd + 1;
        if (*lineEnd == '\r' && start < end && *start == '\n')
            ++start;
        if (nextCr < start)
            nextCr = next(start, '\r');
        if (nextLf < start)
            nextLf = next(start, '\n');
    }
}

std::vector<Text> LineStore::Entries() const
{
    std::vector<Text> entries;
    entries.reserve(m_ends.Size());
    for (std::int32_t i = 0; i < Count(); ++i)
        entries.emplace_back(GetText(i));
    return entries;
}

// Each pending entry goes before the first earlier entry that sorts after it. Those
// places only move forward as the pending entries grow, so one sort of the pending
// entries and one merge give the order that adding them one by one would give, even
// when appended entries left the earlier ones unsorted. Menus are short: the entries are
// taken out as texts and written back in their new order.
void LineStore::SortPendingEntries() const
{
    m_hasPendingSorted = false;
    const std::size_t earlierCount = m_sortedCount;
    const std::size_t count = m_ends.Size();
    m_sortedCount = count;

    const auto textAt = [this](std::size_t index)
    { return Text(GetText(static_cast<std::int32_t>(index))); };
    std::vector<CKeyedEntry> pending;
    pending.reserve(count - earlierCount);
    for (std::size_t i = earlierCount; i < count; ++i)
    {
        Text entry = textAt(i);
        Text key = MakeCollationKey(entry);
        pending.push_back({std::move(key), std::move(entry)});
    }
    std::sort(pending.begin(), pending.end(),
              [](const CKeyedEntry& a, const CKeyedEntry& b)
              { return KeyedCollatesBefore(a.key, a.entry, b.key, b.entry); });
    std::vector<Text> earlier;
    earlier.reserve(earlierCount);
    for (std::size_t i = 0; i < earlierCount; ++i)
        earlier.push_back(textAt(i));

    std::vector<Text> ordered;
    ordered.reserve(count);
    std::size_t next = 0;
    Text nextKey = earlier.empty() ? Text() : MakeCollationKey(earlier[0]);
    for (CKeyedEntry& item : pending)
    {
        while (next < earlier.size() &&
               !KeyedCollatesBefore(item.key, item.entry, nextKey, earlier[next]))
        {
            ordered.push_back(std::move(earlier[next]));
            if (++next < earlier.size())
                nextKey = MakeCollationKey(earlier[next]);
        }
        ordered.push_back(std::move(item.entry));
    }
    for (; next < earlier.size(); ++next)
        ordered.push_back(std::move(earlier[next]));

    // The same texts in another order take the same room: written back in place.
    std::size_t end = 0;
    for (std::size_t i = 0; i < count; ++i)
    {
        if (!ordered[i].empty())
            std::memcpy(m_text.Data() + end, ordered[i].data(), ordered[i].size());
        end += ordered[i].size();
        m_ends[i] = static_cast<std::uint32_t>(end);
    }
}
