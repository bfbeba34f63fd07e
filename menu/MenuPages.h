// The two menu levels: the topic folders of the program folder, and the lists of the chosen
// folder, six to a page. Every page is read afresh from the file system, so folders and
// lists added or removed meanwhile show at the next page.
#pragma once

#include "app/DialogParts.h"
#include "menu/MenuLevel.h"

class CMenuPages
{
public:
    explicit CMenuPages(const DialogParts& parts);

    // The main-menu page that begins at entry g_menuFirst.
    void ShowMainMenuPage();
    // The sub-menu page of the chosen folder that begins at entry g_subMenuFirst.
    void ShowSubMenuPage();
    // "Mehr".
    void NextMenuPage(MenuLevel level);
    // "Zurück" on a later page; on sub-menu page 1 ("Hauptmenue") the main-menu page the
    // folder was chosen from.
    void PreviousMenuPage(MenuLevel level);
    // Page 1 of the sub-menu the running list was started from.
    void ReturnToSubMenu();
    // A press on menu button g_pressedButton: opens a folder or starts a list.
    void OnMenuButton();

private:
    // Captions and shows the entry buttons of the page that begins at `first`; `caption`
    // makes a button's text from its entry. Returns the number of entries from `first` on.
    std::int64_t ShowEntryButtons(std::int32_t first, Text (*caption)(const Text& entry));
    static Text PageHeading(Text heading, std::int32_t first, std::int64_t count);

    IDialogSurface& m_surface;
    SharedState& m_state;
    LineStore& m_store;
    CMainDialog& m_dialog;
};
