// Listing a folder for the menus.
#pragma once

#include "platform/Text.h"

#include <optional>
#include <vector>

enum class EntryKind
{
    Folders,   // sub-folders, and links to folders, but not hidden ones (".git")
    ListFiles, // anything but a folder whose name ends in ".lst", in any case
};

// The names of the entries of `folder` of the given kind, in no particular order. "." and
// "..", and folders whose names begin with ".", are never reported; list files keep their
// rule whatever their names begin with. A folder that is missing or cannot be read gives no names.
// With a `programFolder`, a link whose real path lies outside that folder's real path is not
// reported: what it leads to is not there for the program. An empty one confines nothing.
std::vector<Text> SearchFolder(const Text& folder, EntryKind kind, const Text& programFolder);

// One reading of a folder: what SearchFolder gives, and the links it leaves out.
struct FolderEntries
{
    std::vector<Text> names;
    // Entries of the kind asked for whose links lead out of the program folder.
    std::vector<Text> leadingOut;
};

// As SearchFolder, opening `folder` once; nothing when it cannot be listed (it is missing, is
// no folder or may not be read), so that the caller need not open it again to ask.
std::optional<FolderEntries> ReadFolder(const Text& folder, EntryKind kind,
                                        const Text& programFolder);

// True when `name` ends in ".lst" without regard to case.
bool HasListExtension(std::string_view name);
