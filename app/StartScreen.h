// The start screen: the title, the by-line, the notice and "Start". Shown when the dialog is
// initialised, and again by the relayout while "Start" has not been pressed.
#pragma once

#include "platform/IDialogSurface.h"

void ShowStartScreen(IDialogSurface& surface);
