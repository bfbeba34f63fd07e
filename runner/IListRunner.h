// A running list as the other parts of the dialog drive it: the menu starts one, the
// navigation buttons move it on, the relayout shows its picture again. CStepInterpreter is the
// one implementation.
#pragma once

#include "platform/Picture.h"
#include "platform/Text.h"
#include "runner/ListJourney.h"

#include <vector>

class IListRunner
{
public:
    virtual ~IListRunner() = default;
    // Loads the list file at `path` (its full path) and shows its first screen.
    virtual void LoadList(const Text& path) = 0;
    // One pass from g_currentLine.
    virtual void RunSteps() = 0;
    // The picture named in a list, at the size a picture step shows it; null when it cannot
    // be loaded or is not inside the program folder.
    virtual PictureHandle LoadStepPicture(const Text& name) = 0;
    // The presses since the list was loaded; the navigation buttons record them.
    virtual CListJourney& Journey() = 0;
    // Loads the list that was loaded last again, from the screen it started on: the headings
    // that the menu left and no step counted. Nothing happens when no list was loaded.
    virtual void RestartList() = 0;
    // The files the list on the screen was read from: the list file first, then each text
    // file that a pass loaded since, each once. Empty before the first list.
    virtual const std::vector<Text>& ListFiles() const = 0;
};
