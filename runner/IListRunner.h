// A running list as the other parts of the dialog drive it: the menu starts one, the
// navigation buttons move it on, the relayout shows its picture again. CStepInterpreter is the
// one implementation.
#pragma once

#include "platform/Picture.h"
#include "platform/Text.h"

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
};
