// The ordered store of texts that holds either the entries of the menu page that is up or
// the lines of the running list. Held in memory; nothing here touches the platform.
//
// The texts of all entries lie one after the other in one block, and each entry is the
// offset where its text ends: four bytes an entry beside its text, however many lines a
// list has.
#pragma once

#include "platform/Text.h"
#include "runner/GrowableArray.h"

#include <cstdint>
#include <string_view>
#include <vector>

class CLineFiller;

class LineStore
{
public:
    // The most text the store holds, all entries together. A list file is at most 256 MiB,
    // which decodes to at most three times as much; the bits above hold an entry's line end.
    static constexpr std::size_t MaximumTextBytes = (std::size_t{1} << 30) - 1;

    // Removes all entries.
    void Clear();
    // Adds an entry at the end; the order of insertion is kept. An entry that would take the
    // text past MaximumTextBytes, or the count past INT32_MAX, is not added.
    void Append(std::string_view line);
    // Adds an entry at its sorted place, in the order of CollatesBefore. Sorting is deferred until
    // the entries are next read, so that filling a menu of n entries costs one sort, O(n log n).
    void AddSorted(std::string_view entry);
    // Number of entries.
    std::int32_t Count() const { return static_cast<std::int32_t>(m_ends.Size()); }
    // The entry at `index`; an empty text for an index outside 0 .. Count() - 1, so that
    // no caller can read outside the store. The view holds until the store next changes.
    // Here, for the passes that read millions of lines.
    std::string_view GetText(std::int32_t index) const
    {
        if (index < 0 || index >= Count())
            return {};
        SortPending();
        const auto at = static_cast<std::size_t>(index);
        const std::uint32_t start = at == 0 ? 0 : NextStartOf(m_ends[at - 1]);
        return {m_text.Data() + start, EndOf(m_ends[at]) - start};
    }
    // Cuts `text` into lines and appends each. CR LF, a lone LF and a lone CR each end a
    // line; a last line without a line end is kept whole; a line end at the very end of
    // the text adds no empty entry.
    void AppendLines(std::string_view text);
    // A copy of all entries, in order.
    std::vector<Text> Entries() const;
    // Changes with every change of the entries, so that what is derived from them can tell
    // when it is out of date.
    std::uint64_t Generation() const { return m_generation; }

private:
    // Fills the store from a file's bytes, writing its text straight into the block.
    friend class CLineFiller;

    void SortPending() const
    {
        if (m_hasPendingSorted)
            SortPendingEntries();
    }
    void SortPendingEntries() const;

    // A file read where it lies keeps its line ends in the text, between the entries: each
    // entry is where its text ends, and above that the length of the line end after it. The
    // last entry has none.
    static constexpr unsigned GapShift = 30;
    static std::uint32_t EndOf(std::uint32_t entry) { return entry & MaximumTextBytes; }
    // Where the text of the entry after `entry` starts.
    static std::uint32_t NextStartOf(std::uint32_t entry)
    {
        return EndOf(entry) + (entry >> GapShift);
    }

    mutable CGrowableArray<char> m_text;
    // Each entry's end in m_text, and the line end after it.
    mutable CGrowableArray<std::uint32_t> m_ends;
    mutable std::size_t m_sortedCount = 0; // entries before this index are in final order
    mutable bool m_hasPendingSorted = false;
    std::uint64_t m_generation = 0;
};
