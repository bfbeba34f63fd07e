// The three buttons under the text and the tap on the picture, on every screen: what a press
// does is decided by the shared state of the screen that is up.
#pragma once

#include "app/DialogParts.h"
#include "menu/IMenuNavigation.h"
#include "runner/IListRunner.h"
#include "runner/SubHeadingIndex.h"
#include "stopwatch/IStopwatch.h"

class CNavigationButtons
{
public:
    // The menus, the running list and the stopwatch are what the buttons move; all must
    // outlive the buttons.
    CNavigationButtons(const DialogParts& parts, IMenuNavigation& menu, IListRunner& runner,
                       IStopwatch& stopwatch);

    void OnCentreButton();
    void OnLeftButton();
    void OnRightButton();
    void OnPictureTap();
    // Runs the previous step again.
    void StepBack();
    // Leaves the running list for page 1 of its sub-menu.
    void LeaveList();

private:
    // Back from a picture to the texts of the steps around it.
    void LeavePictureScreen();
    // An answer to the question on the screen: its label line + 1, 0 when it has none.
    void Answer(std::int32_t target);

    IDialogSurface& m_surface;
    SharedState& m_state;
    LineStore& m_store;
    IMenuNavigation& m_menu;
    IListRunner& m_runner;
    IStopwatch& m_stopwatch;
    SubHeadingIndex m_subHeadings;
};
