// The files that a list names ("§" text files, "*" pictures), found as the devices the lists
// come from found them: "\" separates folders, and a name that differs only in case will do.
#pragma once

#include "platform/FolderNameIndex.h"
#include "platform/Text.h"

#include <optional>
#include <string_view>

struct NamedFile
{
    // The list's folder followed by the name, "\" turned into "/": what messages show.
    Text shownPath;
    // The file found: the exact name if it exists, else one that differs only in case.
    // Nothing when there is none, or when the name leads out of the program folder.
    std::optional<Text> foundPath;
    // The name leads out of the program folder.
    bool outsideProgramFolder = false;
    // Found only by a name that differs in case.
    bool foundByOtherCase = false;
};

// `programFolder` and `listFolder` end with "/"; `listFolder` lies inside `programFolder`.
// `folders`, when given, keeps what it read of folders for the next look-ups.
NamedFile FindNamedFile(const Text& programFolder, const Text& listFolder, std::string_view name,
                        CFolderNameIndex* folders = nullptr);
