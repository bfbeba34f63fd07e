// The menu pages as the other parts of the dialog move between them: the navigation buttons,
// the relayout, and the way back from a list. CMenuPages is the one implementation.
#pragma once

#include "menu/MenuLevel.h"

class IMenuNavigation
{
public:
    virtual ~IMenuNavigation() = default;
    // The main-menu page that begins at entry g_menuFirst.
    virtual void ShowMainMenuPage() = 0;
    // The sub-menu page of the chosen folder that begins at entry g_subMenuFirst.
    virtual void ShowSubMenuPage() = 0;
    // "Mehr".
    virtual void NextMenuPage(MenuLevel level) = 0;
    // "Zurück" on a later page; on sub-menu page 1 ("Hauptmenue") the main-menu page the
    // folder was chosen from.
    virtual void PreviousMenuPage(MenuLevel level) = 0;
    // Page 1 of the sub-menu the running list was started from.
    virtual void ReturnToSubMenu() = 0;
};
