#pragma once

// What a press on the left button does.
enum class LeftButtonMode : int
{
    EndProgram = 0,           // "Ende" on main-menu page 1
    PreviousMainMenuPage = 1, // "Zurück" on a later main-menu page
    PreviousSubMenuPage = 2,  // "Zurück", or "Hauptmenue" on sub-menu page 1
    LeaveList = 3,            // "Abbruch" on a step or picture
    QuestionScreen = 6,       // "Zum Anfang" or "Ende" on a question
};
