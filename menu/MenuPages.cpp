#include "menu/MenuPages.h"

#include "app/DialogTexts.h"
#include "app/Screens.h"
#include "platform/ControlId.h"
#include "platform/DirectorySearch.h"

namespace
{
constexpr std::int32_t PageSize = 6;

Text FolderCaption(const Text& entry)
{
    return entry;
}

// A list's caption is its file name without the extension ".lst".
Text ListCaption(const Text& entry)
{
    return entry.size() <= 4 ? Text{} : entry.substr(0, entry.size() - 4);
}
} // namespace

CMenuPages::CMenuPages(const DialogParts& parts, IListRunner& runner)
    : m_surface(parts.surface), m_state(parts.state), m_store(parts.store), m_runner(runner)
{
}

Text CMenuPages::PageHeading(Text heading, std::int32_t first, std::int64_t count)
{
    heading += DialogText::Page + DecimalText(first / PageSize + 1) + DialogText::Of +
               DecimalText((count + 5) / PageSize);
    return heading;
}

std::int64_t CMenuPages::ShowEntryButtons(std::int32_t first, Text (*caption)(const Text& entry))
{
    const std::int64_t remaining = std::int64_t{m_store.Count()} - first;
    if (remaining < 1)
    {
        for (const int id : ControlId::MenuButtons)
            m_surface.ShowControl(id, Visibility::Hidden);
        return remaining;
    }
    m_surface.SetControlText(ControlId::MenuButtons[0], caption(Text(m_store.GetText(first))));
    for (const int id : ControlId::MenuButtons)
        m_surface.ShowControl(id, Visibility::Shown);
    for (int j = 1; j < PageSize; ++j)
    {
        if (remaining > j)
        {
            m_surface.SetControlText(ControlId::MenuButtons[j],
                                     caption(Text(m_store.GetText(first + j))));
            continue;
        }
        for (int hidden = j; hidden < PageSize; ++hidden)
            m_surface.ShowControl(ControlId::MenuButtons[hidden], Visibility::Hidden);
        break;
    }
    return remaining;
}

void CMenuPages::ShowMainMenuPage()
{
    m_state.g_backBlocked = false;
    m_state.g_subMenuFirst = 0;
    EnterScreen(m_state,
                m_state.g_menuFirst != 0 ? Screen::MainMenuLaterPage : Screen::MainMenuFirstPage);

    m_surface.ShowControl(ControlId::LeftButton, Visibility::Shown);
    m_surface.ShowControl(ControlId::LineStoreList, Visibility::Hidden);
    m_surface.ShowControl(ControlId::BodyText, Visibility::Hidden);
    m_surface.ShowControl(ControlId::Picture, Visibility::Hidden);
    if (m_state.g_menuFirst != 0)
        m_surface.SetControlText(ControlId::LeftButton, DialogText::Back);
    else
        m_surface.SetControlText(ControlId::LeftButton, DialogText::End);

    m_store.Clear();
    for (Text& name : SearchFolder(m_state.g_appFolder, EntryKind::Folders, m_state.g_appFolder))
        m_store.AddSorted(std::move(name));

    // On page 1 the indicator shows from seven folders on; on a later page always.
    const std::int64_t count = m_store.Count();
    Text heading = DialogText::MainMenu;
    if (count > PageSize - std::int64_t{m_state.g_menuFirst})
        heading = PageHeading(std::move(heading), m_state.g_menuFirst, count);
    m_surface.SetControlText(ControlId::SubHeading, heading);

    const std::int64_t remaining = ShowEntryButtons(m_state.g_menuFirst, FolderCaption);
    if (remaining > PageSize)
        m_surface.SetControlText(ControlId::CentreButton, DialogText::More);
    m_surface.ShowControl(ControlId::CentreButton,
                          remaining > PageSize ? Visibility::Shown : Visibility::Hidden);
}

void CMenuPages::ShowSubMenuPage()
{
    m_surface.SetControlText(ControlId::Heading, DialogText::Title);
    m_surface.ShowControl(ControlId::RightButton, Visibility::Hidden);
    m_state.g_backBlocked = false;
    // Coming from the main menu, the store still holds the folder names.
    if (m_state.g_viewMode == ViewMode::MainMenu)
        m_state.g_folderName = m_store.GetText(m_state.g_chosenFolderIndex);
    m_surface.SetControlText(ControlId::LeftButton,
                             m_state.g_subMenuFirst != 0 ? DialogText::Back : DialogText::MainMenu);
    m_surface.ShowControl(ControlId::LeftButton, Visibility::Shown);
    m_surface.ShowControl(ControlId::LineStoreList, Visibility::Hidden);
    EnterScreen(m_state, Screen::SubMenuPage);

    m_store.Clear();
    for (Text& name : SearchFolder(m_state.g_listFolder, EntryKind::ListFiles, m_state.g_appFolder))
        m_store.AddSorted(std::move(name));

    const std::int64_t count = m_store.Count();
    Text heading = DialogText::SubMenuOf + m_state.g_folderName;
    if (count > PageSize)
        heading = PageHeading(std::move(heading), m_state.g_subMenuFirst, count);
    m_surface.SetControlText(ControlId::SubHeading, heading);
    m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);

    if (ShowEntryButtons(m_state.g_subMenuFirst, ListCaption) > PageSize)
    {
        m_surface.SetControlText(ControlId::CentreButton, DialogText::More);
        m_surface.ShowControl(ControlId::CentreButton, Visibility::Shown);
    }
}

void CMenuPages::NextMenuPage(MenuLevel level)
{
    if (level == MenuLevel::Main)
    {
        m_state.g_menuFirst += PageSize;
        ShowMainMenuPage();
        return;
    }
    m_state.g_subMenuFirst += PageSize;
    ShowSubMenuPage();
}

void CMenuPages::PreviousMenuPage(MenuLevel level)
{
    if (level == MenuLevel::Main)
    {
        m_state.g_menuFirst -= PageSize;
        ShowMainMenuPage();
        return;
    }
    if (m_state.g_subMenuFirst == 0)
    {
        ShowMainMenuPage();
        return;
    }
    m_state.g_subMenuFirst -= PageSize;
    m_surface.ShowControl(ControlId::Picture, Visibility::Hidden);
    ShowSubMenuPage();
}

void CMenuPages::ReturnToSubMenu()
{
    ShowMainMenuPage();
    ShowSubMenuPage();
}

void CMenuPages::OnMenuButton()
{
    if (m_state.g_viewMode == ViewMode::MainMenu)
    {
        const std::int32_t index = m_state.g_pressedButton + m_state.g_menuFirst;
        m_state.g_listFolder = m_state.g_appFolder + Text(m_store.GetText(index)) + "/";
        m_state.g_chosenFolderIndex = index;
        ShowSubMenuPage();
    }
    else if (m_state.g_viewMode == ViewMode::SubMenu)
    {
        const Text name(m_store.GetText(m_state.g_subMenuFirst + m_state.g_pressedButton));
        m_state.g_currentLine = 0;
        m_state.g_stepCounter = 0;
        m_runner.LoadList(m_state.g_listFolder + name);
    }
}
