#include "app/StartScreen.h"

#include "app/DialogTexts.h"
#include "platform/ControlId.h"

void ShowStartScreen(IDialogSurface& surface)
{
    surface.ShowControl(ControlId::Picture, Visibility::Hidden);
    surface.SetControlText(ControlId::Heading, DialogText::Title);
    surface.SetControlText(ControlId::SubHeading, DialogText::ByLine);
    surface.SetControlText(ControlId::BodyText, DialogText::StartNotice);
    surface.ShowControl(ControlId::Heading, Visibility::Shown);
    surface.ShowControl(ControlId::SubHeading, Visibility::Shown);
    surface.ShowControl(ControlId::BodyText, Visibility::Shown);
    surface.SetControlText(ControlId::CentreButton, DialogText::Start);
    surface.ShowControl(ControlId::LeftButton, Visibility::Hidden);
    surface.ShowControl(ControlId::CentreButton, Visibility::Shown);
    surface.ShowControl(ControlId::RightButton, Visibility::Hidden);
}
