// The two menu levels: the topic folders of the program folder, and the lists of the chosen
// folder, six to a page. Every page is read afresh from the file system, so folders and
// lists added or removed meanwhile show at the next page.
#pragma once

#include "app/DialogParts.h"
#include "menu/IMenuNavigation.h"
#include "runner/IListRunner.h"

class CMenuPages final : public IMenuNavigation
{
public:
    // `runner` starts the lists that the sub-menus offer; it must outlive the pages.
    CMenuPages(const DialogParts& parts, IListRunner& runner);

    // The main-menu page that begins at entry g_menuFirst.
    void ShowMainMenuPage() override;
    // The sub-menu page of the chosen folder that begins at entry g_subMenuFirst.
    void ShowSubMenuPage() override;
    // "Mehr".
    void NextMenuPage(MenuLevel level) override;
    // "Zurück" on a later page; on sub-menu page 1 ("Hauptmenue") the main-menu page the
    // folder was chosen from.
    void PreviousMenuPage(MenuLevel level) override;
    // Page 1 of the sub-menu the running list was started from.
    void ReturnToSubMenu() override;
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
    IListRunner& m_runner;
};
