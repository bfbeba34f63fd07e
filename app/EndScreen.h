// The end screen of a list: "Liste abgearbeitet!", "Ende", and "Zurück" unless a question was
// answered. The pass that runs past the last line shows it, and so does the relayout.
#pragma once

#include "app/SharedState.h"
#include "platform/IDialogSurface.h"

void ShowEndScreen(IDialogSurface& surface, SharedState& state);
