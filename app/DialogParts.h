// What every part of the dialog works on: the surface, the shared state and the line store.
// All are owned by the dialog; a part that needs another part gets that part's interface.
#pragma once

#include "app/SharedState.h"
#include "platform/IDialogSurface.h"
#include "runner/LineStore.h"

struct DialogParts
{
    IDialogSurface& surface;
    SharedState& state;
    LineStore& store;
};
