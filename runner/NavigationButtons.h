// The three buttons under the text and the tap on the picture, on every screen: what a press
// does is decided by the shared state of the screen that is up.
#pragma once

#include "app/DialogParts.h"

class CNavigationButtons
{
public:
    explicit CNavigationButtons(const DialogParts& parts);

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
    CMainDialog& m_dialog;
};
