// Listing a folder for the menus.
#pragma once

#include "platform/Text.h"

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

// True when the entries of `folder` can be listed: it exists, is a folder and may be read.
bool IsReadableFolder(const Text& folder);

// True when `name` ends in ".lst" without regard to case.
bool HasListExtension(std::string_view name);
