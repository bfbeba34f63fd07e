// Which screens the window reads aloud, told from the dialog's state.
#pragma once

#include "app/SharedState.h"
#include "platform/qt/AnnouncingSurface.h"

// A step, a stopwatch warning or the end of a list is a Step; a question is a Question;
// menus, the start screen and pictures are Other.
SpokenScreen SpokenScreenOf(const SharedState& state);
