#include "platform/DirectorySearch.h"

#include "platform/CaseFolding.h"

#include <filesystem>
#include <optional>
#include <system_error>

bool HasListExtension(std::string_view name)
{
    return name.size() >= 4 && FoldLatin1Case(name.substr(name.size() - 4)) == ".lst";
}

namespace
{
// True when the link at `path` leads to a place outside `realRoot`. A link that leads nowhere
// is left to the caller, who finds it cannot be read.
bool LeadsOut(const std::filesystem::path& path, const std::filesystem::path& realRoot)
{
    std::error_code error;
    const auto real = std::filesystem::canonical(path, error);
    if (error)
        return false;
    const auto inside = real.lexically_relative(realRoot);
    return inside.empty() || *inside.begin() == "..";
}
} // namespace

std::vector<Text> SearchFolder(const Text& folder, EntryKind kind, const Text& programFolder)
{
    std::vector<Text> names;
    std::optional<std::filesystem::path> realRoot;
    if (!programFolder.empty())
    {
        std::error_code rootError;
        realRoot = std::filesystem::canonical(programFolder, rootError);
        if (rootError)
            realRoot.reset();
    }
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return names;
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
            continue;
        names.push_back(std::move(name));
    }
    return names;
}

bool IsReadableFolder(const Text& folder)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    return !error;
}
