#include "platform/ProgramFolder.h"

#include "platform/DirectorySearch.h"

#include <filesystem>
#include <system_error>

bool HoldsTopics(const Text& folder)
{
    if (folder.empty())
        return false;
    // Confined to itself, as the menus are: a link that leads out is no topic.
    for (const auto& topic : SearchFolder(folder, EntryKind::Folders, folder))
    {
        if (!SearchFolder(folder + topic + "/", EntryKind::ListFiles, folder).empty())
            return true;
    }
    return false;
}

Text ChooseProgramFolder(const Text& besideProgram, std::span<const Text> dataFolders)
{
    if (HoldsTopics(besideProgram))
        return besideProgram;
    for (const auto& candidate : dataFolders)
    {
        std::error_code error;
        const auto absolute = std::filesystem::absolute(candidate, error);
        if (error)
            continue;
        // "/usr/bin/../share/tavrino/examples" reads as "/usr/share/tavrino/examples/": that is
        // the folder the start screen and `play` name.
        Text folder = absolute.lexically_normal().string();
        if (folder.empty() || folder.back() != '/')
            folder += '/';
        if (HoldsTopics(folder))
            return folder;
    }
    return besideProgram;
}
