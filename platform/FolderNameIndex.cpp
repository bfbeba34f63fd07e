#include "platform/FolderNameIndex.h"

#include "platform/CaseFolding.h"

#include <system_error>

std::optional<std::filesystem::path>
CFolderNameIndex::FindIgnoringCase(const std::filesystem::path& folder,
                                   const std::filesystem::path& name)
{
    const auto [place, added] = m_folders.try_emplace(folder.string());
    std::unordered_map<Text, Text>& names = place->second;
    if (added)
    {
        // A folder that stops being readable half way keeps the names read before.
        std::error_code error;
        for (std::filesystem::directory_iterator entries(folder, error), end;
             !error && entries != end; entries.increment(error))
        {
            ++m_entriesRead;
            Text candidate = entries->path().filename().string();
            const auto [entry, first] = names.try_emplace(FoldLatin1Case(candidate), candidate);
            if (!first && candidate < entry->second)
                entry->second = std::move(candidate);
        }
    }
    const auto found = names.find(FoldLatin1Case(name.string()));
    if (found == names.end())
        return std::nullopt;
    return folder / found->second;
}
