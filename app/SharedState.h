// The screen state that every handler reads and writes. The dialog owns one; a new dialog
// starts from the values the program has when it loads: 0, false and empty throughout.
#pragma once

#include "app/LeftButtonMode.h"
#include "app/ScreenState.h"
#include "app/ViewMode.h"
#include "platform/Text.h"

#include <cstdint>

struct SharedState
{
    Text g_appFolder;       // program folder, ending with "/"
    bool g_started = false; // "Start" was pressed
    ViewMode g_viewMode = ViewMode::StartScreen;
    ScreenState g_screenState = ScreenState::Start;
    LeftButtonMode g_leftButtonMode = LeftButtonMode::EndProgram;
    bool g_backBlocked = false;      // a question was shown: no "Zurück"
    std::int32_t g_menuFirst = 0;    // first entry of the main-menu page
    std::int32_t g_subMenuFirst = 0; // first entry of the sub-menu page
    std::int32_t g_chosenFolderIndex = 0;
    Text g_folderName;
    Text g_listFolder; // chosen folder's full path, ending with "/"
    std::int32_t g_pressedButton = 0;
    std::int32_t g_currentLine = 0;
    std::int32_t g_stepCounter = 0;
    std::int32_t g_yesTarget = 0; // label line + 1 of "Ja"
    std::int32_t g_noTarget = 0;  // label line + 1 of "Nein"
    Text g_headingText;
    Text g_subHeadingText;
    Text g_bodyText;
    Text g_picturePath;
    std::int32_t g_stopwatchSeconds = 0;
    std::int32_t g_stopwatchRunning = 0;
    Text g_stopwatchName;
};
