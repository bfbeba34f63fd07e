// Runs a list: each pass follows the line store from g_currentLine on with the pass engine,
// which carries out the lines that act at once through this interpreter as they come; the
// interpreter then puts the line that ended the pass on the screen. Faults in a list are
// reported in message boxes; the grave ones lead back to the sub-menu.
#pragma once

#include "app/DialogParts.h"
#include "platform/NamedFile.h"
#include "platform/ReadOnlyFile.h"
#include "runner/IListRunner.h"
#include "runner/LabelIndex.h"
#include "runner/PassEngine.h"
#include "stopwatch/IStopwatch.h"

#include <functional>
#include <optional>

class CStepInterpreter final : public IListRunner, private IPassSink, private ITextFileLoader
{
public:
    // `stopwatch` is the list's stopwatch; `returnToSubMenu` leaves a list that a grave fault
    // breaks off. The stopwatch must outlive the interpreter.
    CStepInterpreter(const DialogParts& parts, IStopwatch& stopwatch,
                     std::function<void()> returnToSubMenu);

    // Loads the list file at `path` (its full path) and shows its first screen; a file that
    // cannot be opened leaves the store empty, names itself in the headings and ends at once.
    void LoadList(const Text& path) override;
    // One pass from g_currentLine.
    void RunSteps() override;
    // A copy of `picture` stretched to the given size; null when it cannot be made.
    PictureHandle ScalePicture(const PictureHandle& picture, int width, int height);
    // The picture named in a list, at the size a picture step shows it; null when it
    // cannot be loaded or is not inside the program folder.
    PictureHandle LoadStepPicture(const Text& name) override;
    CListJourney& Journey() override { return m_journey; }
    void RestartList() override;
    const std::vector<Text>& ListFiles() const override { return m_listFiles; }

private:
    // The effects of a pass, as RunPass (runner/PassEngine.h) reaches them.
    void EnterLine(std::int32_t) override {}
    void SetHeading(const Text& heading) override;
    void SetSubHeading(const Text& subHeading) override;
    void StartStopwatch(const Text& start) override;
    std::optional<Text> CheckStopwatch() override;
    bool PreparePicture(const Text& name) override;
    // The text files a pass loads.
    std::optional<FileIdentity> OpenTextFile(const Text& name) override;
    void LoadOpenedTextFile() override;

    // The screens a pass stops at.
    void EndStep();
    // False when the targets are at fault and the sub-menu is up.
    bool AskQuestion(const PassResult& pass);
    void ShowPicture();
    PictureHandle LoadStepPicture(const NamedFile& named);
    // Reports a grave fault and leaves the list for the sub-menu.
    void AbortList(const char* message);

    IDialogSurface& m_surface;
    SharedState& m_state;
    LineStore& m_store;
    IStopwatch& m_stopwatch;
    std::function<void()> m_returnToSubMenu;
    CLabelIndex m_labels;
    PictureHandle m_picture;                 // made ready by the pass, shown at its stop
    std::optional<CReadOnlyFile> m_textFile; // opened by the pass, loaded unless it repeats
    CListJourney m_journey;
    std::vector<Text> m_listFiles;
    // What the screen showed when the list was loaded, for a start from there again.
    struct ListStart
    {
        Text heading;
        Text subHeading;
        Text headingText;
        Text subHeadingText;
    };
    ListStart m_listStart;
};
