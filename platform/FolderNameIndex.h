// The entries of folders by their names without regard to case, each folder read once: the
// checker looks up every name its lists give, and a topic folder of thousands of pictures
// would otherwise be read through once for each name that differs in case, or is missing.
// Only for a tree that does not change while the index is kept.
#pragma once

#include "platform/Text.h"

#include <filesystem>
#include <optional>
#include <unordered_map>

class CFolderNameIndex
{
public:
    // The entry of `folder` whose name equals `name` without regard to case; the first in
    // byte order when several do, so that the choice does not depend on the folder's order.
    // Nothing when there is none, or the folder cannot be read.
    std::optional<std::filesystem::path> FindIgnoringCase(const std::filesystem::path& folder,
                                                          const std::filesystem::path& name);
    // Entries read from folders so far: for tests that hold the reading to once a folder.
    std::size_t EntriesRead() const { return m_entriesRead; }

private:
    // Folder, as given, to its entries' case-folded names and the names they stand for.
    std::unordered_map<Text, std::unordered_map<Text, Text>> m_folders;
    std::size_t m_entriesRead = 0;
};
