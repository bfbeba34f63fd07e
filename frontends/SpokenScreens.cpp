#include "frontends/SpokenScreens.h"

SpokenScreen SpokenScreenOf(const SharedState& state)
{
    switch (state.g_viewMode)
    {
    case ViewMode::ListStep: // the end screen keeps the view of the step before it
        return SpokenScreen::Step;
    case ViewMode::ListQuestion:
        return SpokenScreen::Question;
    default:
        return SpokenScreen::Other;
    }
}
