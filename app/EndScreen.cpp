#include "app/EndScreen.h"

#include "app/DialogTexts.h"
#include "app/Screens.h"
#include "platform/ControlId.h"

void ShowEndScreen(IDialogSurface& surface, SharedState& state)
{
    surface.SetControlText(ControlId::BodyText, DialogText::ListDone);
    surface.SetControlText(ControlId::RightButton, DialogText::End);
    surface.ShowControl(ControlId::LeftButton, Visibility::Hidden);
    LabelControl(surface, ControlId::CentreButton, DialogText::Back,
                 state.g_backBlocked ? Visibility::Hidden : Visibility::Shown);
    EnterScreen(state, Screen::End);
}
