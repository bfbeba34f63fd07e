// The ordered store of texts that holds either the entries of the menu page that is up or
// the lines of the running list. Held in memory; nothing here touches the platform.
#pragma once

#include "platform/Text.h"

#include <cstdint>
#include <string_view>
#include <vector>

class LineStore
{
public:
    // Removes all entries.
    void Clear();
    // Adds an entry at the end; the order of insertion is kept.
    void Append(Text line);
    // Adds an entry at its sorted place, in the order of CollatesBefore. Sorting is deferred until
    // the entries are next read, so that filling a menu of n entries costs one sort, O(n log n).
    void AddSorted(Text entry);
    // Number of entries.
    std::int32_t Count() const;
    // The entry at `index`; an empty text for an index outside 0 .. Count() - 1, so that
    // no caller can read outside the store.
    const Text& GetText(std::int32_t index) const;
    // Cuts `text` into lines and appends each. CR LF, a lone LF and a lone CR each end a
    // line; a last line without a line end is kept whole; a line end at the very end of
    // the text adds no empty entry.
    void AppendLines(std::string_view text);
    // All entries, in order.
    const std::vector<Text>& Entries() const;
    // Changes with every change of the entries, so that what is derived from them can tell
    // when it is out of date.
    std::uint64_t Generation() const { return m_generation; }

private:
    void SortPending() const;

    mutable std::vector<Text> m_entries;
    mutable std::size_t m_sortedCount = 0; // entries before this index are in final order
    mutable bool m_hasPendingSorted = false;
    std::uint64_t m_generation = 0;
};
