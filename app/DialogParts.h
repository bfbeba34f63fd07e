// What every part of the dialog works on: the surface, the shared state, the line store, and
// the dialog itself for the operations of the other parts. All are owned by the dialog.
#pragma once

#include "app/SharedState.h"
#include "platform/IDialogSurface.h"
#include "runner/LineStore.h"

class CMainDialog;

struct DialogParts
{
    IDialogSurface& surface;
    SharedState& state;
    LineStore& store;
    CMainDialog& dialog;
};
