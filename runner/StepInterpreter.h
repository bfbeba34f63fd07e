// Runs a list: each pass reads the line store from g_currentLine on, carries out the lines
// that act at once, collects the step text, and stops at the line that ends the step, which
// it then puts on the screen. Faults in a list are reported in message boxes; the grave
// ones lead back to the sub-menu.
#pragma once

#include "app/DialogParts.h"
#include "platform/NamedFile.h"
#include "runner/LabelIndex.h"

#include <set>

class CStepInterpreter
{
public:
    explicit CStepInterpreter(const DialogParts& parts);

    // Loads the list file at `path` (its full path) and shows its first screen; a file that
    // cannot be opened leaves the store empty, names itself in the headings and ends at once.
    void LoadList(const Text& path);
    // One pass from g_currentLine.
    void RunSteps();
    // A copy of `picture` stretched to the given size; null when it cannot be made.
    PictureHandle ScalePicture(const PictureHandle& picture, int width, int height);
    // The picture named in a list, at the size a picture step shows it; null when it
    // cannot be loaded or is not inside the program folder.
    PictureHandle LoadStepPicture(const Text& name);

private:
    // How a pass goes on after the action of one line.
    enum class PassFlow
    {
        Continue,
        Stop,  // the line ends the pass; its screen is up
        Abort, // a grave fault: the sub-menu is up
    };

    struct Pass
    {
        Text text; // the step text collected so far
        std::set<std::int32_t> jumpTargets;
        std::uint64_t storeGeneration = 0;
        std::set<std::pair<std::uint64_t, std::uint64_t>> loadedFiles;
    };

    PassFlow CarryOut(const Text& line, Pass& pass);
    PassFlow Jump(const Text& line, Pass& pass);
    PassFlow LoadTextFile(const Text& line, Pass& pass);
    PassFlow ShowPicture(const Text& line);
    PictureHandle LoadStepPicture(const NamedFile& named);
    PassFlow EndStep(const Text& line, Pass& pass);
    PassFlow AskQuestion(const Text& line, Pass& pass);
    bool ResolveTargets(const Text& targets);
    void ShowEndScreen();
    // Reports a grave fault and leaves the list for the sub-menu.
    PassFlow AbortList(const char* message);

    IDialogSurface& m_surface;
    SharedState& m_state;
    LineStore& m_store;
    CMainDialog& m_dialog;
    CLabelIndex m_labels;
};
