#pragma once

#include <chrono>

// What came of reading the list on the screen again.
enum class ReloadOutcome
{
    NoListOpen,     // a menu or the start screen is up: nothing to read
    Busy,           // a press is still being handled (a message box is open): try again later
    ListUnreadable, // the list file cannot be opened now; the screen stays as it was
    Reloaded,       // the list runs again, on the same step where it could
    ListLeft,       // the list read again broke off with a grave fault: its sub-menu is up
};

// How long the heading says that the list was read again.
inline constexpr std::chrono::milliseconds ReloadNoteTime{2000};
