// How the commands for authors name files: as the user named the folders they lie in, so that
// an editor or CI finds them from where the command ran.
#pragma once

#include "platform/Text.h"

#include <filesystem>
#include <vector>

// One folder by its absolute path and as the user named it; both end with "/".
struct FolderNaming
{
    Text absolute;
    Text shown;
};

// The path, made normal, as a folder ending with "/"; "./" for the current folder.
Text AsFolder(const std::filesystem::path& path);

// The file under the deepest folder of `namings` that holds it, as the user named that folder;
// the file as it is when none holds it.
Text ShownPath(const Text& file, const std::vector<FolderNaming>& namings);
