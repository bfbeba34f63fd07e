// Which folder an installed program takes its topics from when no --root names one.
#pragma once

#include "platform/Text.h"

#include <span>

// True when `folder` holds a topic with a list: a sub-folder the main menu would show, with a
// list in it. A sub-folder alone is not enough: /usr/bin has "X11", a link back to itself.
// `folder` ends with "/".
bool HoldsTopics(const Text& folder);

// The program folder without --root: `besideProgram` (the folder of the program file) when it
// holds topics, else the first of `dataFolders` that does, as an absolute, normalised path
// ending with "/". When none holds topics, `besideProgram` as given: its empty menu is what the
// user sees, as before there were data folders.
Text ChooseProgramFolder(const Text& besideProgram, std::span<const Text> dataFolders);
