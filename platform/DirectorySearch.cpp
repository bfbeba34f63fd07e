#include "platform/DirectorySearch.h"

#include "platform/CaseFolding.h"
#include "platform/Confinement.h"

#include <filesystem>
#include <optional>
#include <system_error>

bool HasListExtension(std::string_view name)
{
    return name.size() >= 4 && FoldLatin1Case(name.substr(name.size() - 4)) == ".lst";
}

std::vector<Text> SearchFolder(const Text& folder, EntryKind kind, const Text& programFolder)
{
    std::optional<FolderEntries> entries = ReadFolder(folder, kind, programFolder);
    if (!entries)
        return {};
    return std::move(entries->names);
}

std::optional<FolderEntries> ReadFolder(const Text& folder, EntryKind kind,
                                        const Text& programFolder)
{
    const auto realRoot =
        programFolder.empty() ? std::nullopt : RealFolder(std::filesystem::path(programFolder));
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return std::nullopt;
    FolderEntries found;
    for (const auto end = std::filesystem::directory_iterator(); entries != end;
         entries.increment(error))
    {
        if (error)
            break;
        // The status follows links, so a link to a folder is a folder.
        std::error_code statusError;
        const bool isFolder = entries->is_directory(statusError);
        Text name = entries->path().filename().string();
        // Hidden folders (".git", ".cache") are the tools' business, never topics.
        if (kind == EntryKind::Folders && name.starts_with('.'))
            continue;
        if (kind == EntryKind::Folders ? !isFolder : isFolder || !HasListExtension(name))
            continue;
        std::error_code linkError;
        if (realRoot && entries->is_symlink(linkError) && LeadsOut(entries->path(), *realRoot))
            found.leadingOut.push_back(std::move(name));
        else
            found.names.push_back(std::move(name));
    }
    return found;
}
