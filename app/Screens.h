// The screens of the dialog and the three numbers that say which one is up. Every screen builder
// enters its screen through EnterScreen, so this table is the one place that tells what a button
// does on which screen: the centre button and the menu buttons go by g_viewMode, the left button
// by g_leftButtonMode, the right button and the picture by g_screenState.
//
//  screen              g_viewMode     g_screenState  g_leftButtonMode      entered by
//  ------------------  -------------  -------------  --------------------
//  --------------------------- Start               (StartScreen)  Start          - the dialog's
//  initialisation MainMenuFirstPage   MainMenu       -              EndProgram            main-menu
//  page 1 MainMenuLaterPage   MainMenu       -              PreviousMainMenuPage  "Mehr" on the
//  main menu SubMenuPage         SubMenu        -              PreviousSubMenuPage   a folder,
//  "Mehr", the way back Step                ListStep       Step           LeaveList             a
//  list loaded, a step end, the
//                                                                          stopwatch's warning
//  Question            ListQuestion   Question       QuestionScreen        a question line
//  Picture             ListPicture    Picture        LeaveList             a picture line
//  End                 -              End            -                     a pass past the last
//  line PictureLeft         ListStep       Step           -                     "Weiter" or
//  "Zurück" on a picture Answered            ListStep       -              - "Ja" or "Nein"
//
// "-" leaves the number as it was: menu pages keep the last runner screen in g_screenState
// (readers look at g_viewMode first), and the end screen keeps the step's view and left button.
// The last two rows are the way out of a screen: the pass that follows enters the next one.
#pragma once

#include "app/SharedState.h"

enum class Screen
{
    Start,
    MainMenuFirstPage,
    MainMenuLaterPage,
    SubMenuPage,
    Step,
    Question,
    Picture,
    End,
    PictureLeft,
    Answered,
};

// Sets the numbers of `screen` in `state`, as the table above gives them.
void EnterScreen(SharedState& state, Screen screen);
