// The one dialog of the program. Every screen is a state of it: its controls are re-labelled,
// shown and hidden, never created or destroyed after start-up.
//
// The dialog draws through an IDialogSurface, which it does not own; the surface must live
// as long as the dialog. It owns the line store and the shared screen state.
#pragma once

#include "app/Relayout.h"
#include "app/ReloadOutcome.h"
#include "app/SharedState.h"
#include "menu/MenuPages.h"
#include "platform/IDialogSurface.h"
#include "runner/LineStore.h"
#include "runner/NavigationButtons.h"
#include "runner/StepInterpreter.h"
#include "stopwatch/Stopwatch.h"

#include <optional>
#include <vector>

class CMainDialog final : public IDialogMessageSink
{
public:
    // `programFolder` replaces the folder of the program file when it is not empty (the
    // command line's --root); it is taken as it is, so it should be absolute.
    explicit CMainDialog(IDialogSurface& surface, Text programFolder = {});

    // Creates the controls from the portrait template and initialises the dialog. False when
    // the template cannot be read.
    bool Create();

    bool OnDialogInit() override;
    void OnMessage(const DialogMessage& message) override;

    const SharedState& State() const { return m_state; }
    const LineStore& Store() const { return m_lineStore; }

    // Handlers of the message map.
    void OnSizeChanged();
    void OnMenuButton0();
    void OnMenuButton1();
    void OnMenuButton2();
    void OnMenuButton3();
    void OnMenuButton4();
    void OnMenuButton5();
    void OnCentreButton();
    void OnLeftButton();
    void OnRightButton();
    void OnPictureTap();
    void OnStopwatchTick();
    void OnOk();

    void ShowStartScreen();

    // Reads the list on the screen again from its file and repeats the presses that led to
    // the screen (runner/ListJourney.h); a press that the new screen does not offer, or the
    // end screen, stops there. A running stopwatch keeps its time. Message boxes come as the
    // passes give them. On a list screen the heading then says so until EndReloadNote or the
    // next message other than a tick.
    ReloadOutcome ReloadList();
    void EndReloadNote();
    // The files of the list on the screen (the list file first); empty on a menu.
    std::vector<Text> ListFiles() const;

    // Puts the controls where the template places them (the relayout's first step).
    bool ApplyTemplateLayout(std::span<const std::uint8_t> templateBytes)
    {
        return m_relayout.ApplyTemplateLayout(templateBytes);
    }

private:
    void OnMenuButton(std::int32_t index);
    bool IsListOnScreen() const;
    // False when `move` does not fit the screen that is up.
    bool RepeatMove(ListMove move);

    // Above zero while a message is handled: a message box of a pass may be open.
    int m_handlingDepth = 0;
    // The heading that the note after a reload covers, while it does.
    std::optional<Text> m_headingUnderNote;

    IDialogSurface& m_surface;
    Text m_programFolderOverride;
    int m_programIcon = 0;
    // In the order of construction: a part comes after the parts it is given.
    LineStore m_lineStore;
    SharedState m_state;
    CStopwatch m_stopwatch;
    CStepInterpreter m_runner;
    CMenuPages m_menu;
    CNavigationButtons m_navigation;
    CRelayout m_relayout;
};
