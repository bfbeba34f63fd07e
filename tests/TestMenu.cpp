// The main menu and the sub-menus: pages, headings, buttons and the way back.
#include "TestSupport.h"
#include "platform/ControlId.h"

#include <gtest/gtest.h>

namespace
{
using namespace ControlId;

// What a menu page shows, in the terms users see.
struct MenuScreen
{
    Text heading;
    std::vector<Text> buttons; // captions of the shown entry buttons, in entry order
    Text left;                 // caption of the left button, "-" when hidden
    Text centre;               // caption of the centre button, "-" when hidden
    bool operator==(const MenuScreen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const MenuScreen& screen)
{
    out << "{" << screen.heading << " |";
    for (const auto& button : screen.buttons)
        out << " [" << button << "]";
    return out << " | left " << screen.left << " | centre " << screen.centre << "}";
}

MenuScreen ScreenOf(const CDialogHarness& dialog)
{
    MenuScreen screen{dialog.ControlText(SubHeading), {}, "-", "-"};
    for (const int id : MenuButtons)
    {
        if (dialog.IsShown(id))
            screen.buttons.push_back(dialog.ControlText(id));
    }
    if (dialog.IsShown(LeftButton))
        screen.left = dialog.ControlText(LeftButton);
    if (dialog.IsShown(CentreButton))
        screen.centre = dialog.ControlText(CentreButton);
    return screen;
}

class MenuTest : public testing::Test
{
protected:
    MenuScreen Screen() const { return ScreenOf(*m_dialog); }

    // Folders "Thema 01" ... in the program folder.
    void MakeTopics(int count)
    {
        for (int i = 1; i <= count; ++i)
            m_root.MakeFolder("Thema " + std::string(i < 10 ? "0" : "") + std::to_string(i));
    }

    // Lists "Liste 01.lst" ... whose one step names the list.
    void MakeLists(const std::string& folder, int count)
    {
        for (int i = 1; i <= count; ++i)
        {
            const std::string name = "Liste " + std::string(i < 10 ? "0" : "") + std::to_string(i);
            m_root.Write(folder + "/" + name + ".lst", name + ";\r\n");
        }
    }

    void Start()
    {
        m_dialog = std::make_unique<CDialogHarness>(m_root.Folder());
        Click(CentreButton);
    }

    void Click(int id) { m_dialog->Surface().Click(id); }
    const SharedState& State() const { return m_dialog->State(); }

    CTemporaryFolder m_root;
    std::unique_ptr<CDialogHarness> m_dialog;
};

std::vector<Text> Names(const std::string& prefix, int first, int last)
{
    std::vector<Text> names;
    for (int i = first; i <= last; ++i)
        names.push_back(prefix + (i < 10 ? "0" : "") + std::to_string(i));
    return names;
}

TEST_F(MenuTest, MainMenuPagesForEveryCount)
{
    struct Case
    {
        int folders;
        std::vector<MenuScreen> pages; // page 1, then each page "Mehr" leads to
    };
    const std::vector<Case> cases = {
        {0, {{"Hauptmenue", {}, "Ende", "-"}}},
        {1, {{"Hauptmenue", Names("Thema ", 1, 1), "Ende", "-"}}},
        {6, {{"Hauptmenue", Names("Thema ", 1, 6), "Ende", "-"}}},
        {7,
         {{"Hauptmenue Seite 1 von 2", Names("Thema ", 1, 6), "Ende", "Mehr"},
          {"Hauptmenue Seite 2 von 2", Names("Thema ", 7, 7), "Zurück", "-"}}},
        {12,
         {{"Hauptmenue Seite 1 von 2", Names("Thema ", 1, 6), "Ende", "Mehr"},
          {"Hauptmenue Seite 2 von 2", Names("Thema ", 7, 12), "Zurück", "-"}}},
        {13,
         {{"Hauptmenue Seite 1 von 3", Names("Thema ", 1, 6), "Ende", "Mehr"},
          {"Hauptmenue Seite 2 von 3", Names("Thema ", 7, 12), "Zurück", "Mehr"},
          {"Hauptmenue Seite 3 von 3", Names("Thema ", 13, 13), "Zurück", "-"}}},
    };
    for (const auto& c : cases)
    {
        CTemporaryFolder root;
        for (int i = 1; i <= c.folders; ++i)
            root.MakeFolder("Thema " + std::string(i < 10 ? "0" : "") + std::to_string(i));
        CDialogHarness dialog(root.Folder());
        auto& surface = dialog.Surface();
        surface.Click(CentreButton);
        for (std::size_t page = 0; page < c.pages.size(); ++page)
        {
            EXPECT_EQ(ScreenOf(dialog), c.pages[page])
                << c.folders << " folders, page " << page + 1;
            EXPECT_EQ(dialog.State().g_menuFirst, static_cast<std::int32_t>(page * 6));
            EXPECT_EQ(dialog.State().g_leftButtonMode, page == 0
                                                           ? LeftButtonMode::EndProgram
                                                           : LeftButtonMode::PreviousMainMenuPage);
            if (page + 1 < c.pages.size())
                surface.Click(CentreButton);
        }
        // "Zurück" leads page by page back to page 1, whose left button ends the program.
        for (std::size_t page = c.pages.size() - 1; page > 0; --page)
            surface.Click(LeftButton);
        EXPECT_EQ(ScreenOf(dialog), c.pages[0]) << c.folders << " folders, back on page 1";
        surface.Click(LeftButton);
        EXPECT_EQ(surface.Result(), DialogResult::Cancel);
    }
}

TEST_F(MenuTest, StartOpensMainMenuOnceAndSetsItsState)
{
    MakeTopics(2);
    Start();
    EXPECT_TRUE(State().g_started);
    EXPECT_EQ(State().g_viewMode, ViewMode::MainMenu);
    EXPECT_EQ(State().g_screenState, ScreenState::Start); // menus leave the screen state alone
    EXPECT_EQ(m_dialog->ControlText(Heading), "Tavrino");
    for (const int hidden : {BodyText, Picture, RightButton, LineStoreList})
        EXPECT_FALSE(m_dialog->IsShown(hidden)) << hidden;
    EXPECT_EQ(m_dialog->Dialog().Store().Entries(), (std::vector<Text>{"Thema 01", "Thema 02"}));
}

TEST_F(MenuTest, MainMenuListsFoldersOnlySortedWithoutRegardToCase)
{
    // Hidden folders, and links to folders with hidden names, are no topics.
    for (const char* folder : {"zug", "Bremsen", "Äste", "anfahren", "Apfel", "B.2 Kupplung",
                               "ordner.lst", ".git", ".Bremsen", "..."})
        m_root.MakeFolder(folder);
    std::filesystem::create_directory_symlink(m_root.Path() / "zug", m_root.Path() / ".zug");
    m_root.Write("Liste.lst", "A;");
    m_root.Write("tavrino", "program");
    std::filesystem::create_directory_symlink(m_root.Path() / "zug", m_root.Path() / "Verweis");
    std::filesystem::create_symlink(m_root.Path() / "fehlt", m_root.Path() / "Kaputt");
    Start();
    EXPECT_EQ(Screen(),
              (MenuScreen{"Hauptmenue Seite 1 von 2",
                          {"anfahren", "Apfel", "Äste", "B.2 Kupplung", "Bremsen", "ordner.lst"},
                          "Ende",
                          "Mehr"}));
    Click(CentreButton);
    EXPECT_EQ(Screen().buttons, (std::vector<Text>{"Verweis", "zug"}));
}

TEST_F(MenuTest, LinksThatLeadOutOfTheProgramFolderAreNotThere)
{
    // The program folder lies inside the temporary one; beside it, what must stay unseen.
    CTemporaryFolder outside;
    outside.MakeFolder("Fremd");
    outside.Write("fremd.lst", "Fremd;");
    m_root.MakeFolder("Bremsen");
    m_root.Write("Bremsen/Probe.lst", "A;");
    std::filesystem::create_directory_symlink(outside.Path() / "Fremd", m_root.Path() / "Raus");
    std::filesystem::create_directory_symlink(m_root.Path() / "Bremsen", m_root.Path() / "Innen");
    std::filesystem::create_symlink(outside.Path() / "fremd.lst",
                                    m_root.Path() / "Bremsen/Fremd.lst");
    std::filesystem::create_symlink(m_root.Path() / "Bremsen/Probe.lst",
                                    m_root.Path() / "Bremsen/Kopie.lst");
    Start();
    EXPECT_EQ(Screen().buttons, (std::vector<Text>{"Bremsen", "Innen"}));
    Click(MenuButton0);
    EXPECT_EQ(Screen().buttons, (std::vector<Text>{"Kopie", "Probe"}));
}

TEST_F(MenuTest, MissingProgramFolderIsAnEmptyMainMenu)
{
    m_dialog = std::make_unique<CDialogHarness>(m_root.Folder() + "fehlt/");
    Click(CentreButton);
    EXPECT_EQ(Screen(), (MenuScreen{"Hauptmenue", {}, "Ende", "-"}));
    EXPECT_TRUE(m_dialog->Surface().TakeMessages().empty());
}

TEST_F(MenuTest, SubMenuPagesForEveryCount)
{
    struct Case
    {
        int lists;
        std::vector<MenuScreen> pages;
    };
    const std::vector<Case> cases = {
        {0, {{"Untermenue von: Thema 01", {}, "Hauptmenue", "-"}}},
        {6, {{"Untermenue von: Thema 01", Names("Liste ", 1, 6), "Hauptmenue", "-"}}},
        {12,
         {{"Untermenue von: Thema 01 Seite 1 von 2", Names("Liste ", 1, 6), "Hauptmenue", "Mehr"},
          {"Untermenue von: Thema 01 Seite 2 von 2", Names("Liste ", 7, 12), "Zurück", "-"}}},
        {13,
         {{"Untermenue von: Thema 01 Seite 1 von 3", Names("Liste ", 1, 6), "Hauptmenue", "Mehr"},
          {"Untermenue von: Thema 01 Seite 2 von 3", Names("Liste ", 7, 12), "Zurück", "Mehr"},
          {"Untermenue von: Thema 01 Seite 3 von 3", Names("Liste ", 13, 13), "Zurück", "-"}}},
    };
    for (const auto& c : cases)
    {
        CTemporaryFolder root;
        root.MakeFolder("Thema 01");
        for (int i = 1; i <= c.lists; ++i)
            root.Write("Thema 01/Liste " + std::string(i < 10 ? "0" : "") + std::to_string(i) +
                           ".lst",
                       "A;");
        CDialogHarness dialog(root.Folder());
        auto& surface = dialog.Surface();
        surface.Click(CentreButton);
        surface.Click(MenuButton0);
        for (std::size_t page = 0; page < c.pages.size(); ++page)
        {
            EXPECT_EQ(ScreenOf(dialog), c.pages[page]) << c.lists << " lists, page " << page + 1;
            EXPECT_EQ(dialog.State().g_viewMode, ViewMode::SubMenu);
            EXPECT_EQ(dialog.State().g_leftButtonMode, LeftButtonMode::PreviousSubMenuPage);
            EXPECT_FALSE(dialog.IsShown(RightButton));
            if (page + 1 < c.pages.size())
                surface.Click(CentreButton);
        }
        for (std::size_t page = c.pages.size() - 1; page > 0; --page)
            surface.Click(LeftButton);
        EXPECT_EQ(ScreenOf(dialog), c.pages[0]) << c.lists << " lists, back on page 1";
        surface.Click(LeftButton);
        EXPECT_EQ(ScreenOf(dialog), (MenuScreen{"Hauptmenue", {"Thema 01"}, "Ende", "-"}));
    }
}

TEST_F(MenuTest, SubMenuListsListFilesOnlyWithCaptionsWithoutExtension)
{
    m_root.MakeFolder("Bremsen/unterordner.lst");
    m_root.Write("Bremsen/Bremsprobe.lst", "A;");
    m_root.Write("Bremsen/GROSS.LST", "A;");
    m_root.Write("Bremsen/.lst", "A;");
    m_root.Write("Bremsen/.versteckt.lst", "A;");
    m_root.MakeFolder("Bremsen/.git");
    m_root.Write("Bremsen/bild.png", "x");
    m_root.Write("Bremsen/notiz.lst.txt", "x");
    m_root.Write("Bremsen/ärger.lst", "A;");
    Start();
    Click(MenuButton0);
    EXPECT_EQ(Screen(), (MenuScreen{"Untermenue von: Bremsen",
                                    {"", ".versteckt", "ärger", "Bremsprobe", "GROSS"},
                                    "Hauptmenue",
                                    "-"}));
    EXPECT_EQ(
        m_dialog->Dialog().Store().Entries(),
        (std::vector<Text>{".lst", ".versteckt.lst", "ärger.lst", "Bremsprobe.lst", "GROSS.LST"}));
    EXPECT_EQ(m_dialog->ControlText(Heading), "Tavrino");
}

TEST_F(MenuTest, FolderChoiceFromALaterPageAndTheWayBack)
{
    MakeTopics(13);
    MakeLists("Thema 09", 8);
    Start();
    Click(CentreButton); // page 2
    Click(MenuButton2);  // its third button: the ninth folder
    EXPECT_EQ(State().g_chosenFolderIndex, 8);
    EXPECT_EQ(State().g_folderName, "Thema 09");
    EXPECT_EQ(State().g_listFolder, m_root.Folder() + "Thema 09/");
    EXPECT_EQ(State().g_menuFirst, 6);
    EXPECT_EQ(State().g_subMenuFirst, 0);
    Click(CentreButton); // sub-menu page 2
    EXPECT_EQ(Screen(), (MenuScreen{"Untermenue von: Thema 09 Seite 2 von 2", Names("Liste ", 7, 8),
                                    "Zurück", "-"}));
    Click(LeftButton);
    EXPECT_EQ(Screen().left, "Hauptmenue");
    Click(LeftButton); // back to the main-menu page the folder was chosen from
    EXPECT_EQ(Screen(),
              (MenuScreen{"Hauptmenue Seite 2 von 3", Names("Thema ", 7, 12), "Zurück", "Mehr"}));
    EXPECT_EQ(State().g_subMenuFirst, 0);
}

TEST_F(MenuTest, ListChoiceStartsTheListOfThatButton)
{
    MakeTopics(1);
    MakeLists("Thema 01", 9);
    Start();
    Click(MenuButton0);
    Click(MenuButton5); // the sixth list of page 1
    EXPECT_EQ(State().g_pressedButton, 5);
    EXPECT_EQ(m_dialog->ControlText(BodyText), "Liste 06");
    Click(LeftButton); // "Abbruch": back to sub-menu page 1
    Click(CentreButton);
    Click(MenuButton1); // the eighth list
    EXPECT_EQ(m_dialog->Dialog().Store().Entries(), (std::vector<Text>{"Liste 08;"}));
    EXPECT_EQ(m_dialog->ControlText(BodyText), "Liste 08");
    EXPECT_EQ(State().g_currentLine, 0);
    EXPECT_EQ(State().g_viewMode, ViewMode::ListStep);
    EXPECT_EQ(State().g_leftButtonMode, LeftButtonMode::LeaveList);
    for (const int id : MenuButtons)
        EXPECT_FALSE(m_dialog->IsShown(id));
}

TEST_F(MenuTest, NamesWithSpacesDotsUmlautsAndStrayBytes)
{
    const std::string stray = "Alt\xE4nderung"; // Windows-1252 "ä", not UTF-8
    m_root.MakeFolder(stray);
    m_root.Write(stray + "/Pr\xFC"
                         "fung.lst",
                 "A;");
    m_root.MakeFolder("Bremse 2.0 neu");
    Start();
    EXPECT_EQ(m_dialog->Dialog().Store().Entries(), (std::vector<Text>{stray, "Bremse 2.0 neu"}));
    Click(MenuButton1);
    EXPECT_EQ(State().g_listFolder, m_root.Folder() + "Bremse 2.0 neu/");
    Click(LeftButton);
    Click(MenuButton0);
    // The path keeps the bytes the file system gave, so the folder is found.
    EXPECT_EQ(State().g_listFolder, m_root.Folder() + stray + "/");
    EXPECT_EQ(Screen().buttons, (std::vector<Text>{"Pr\xFC"
                                                   "fung"}));
    EXPECT_EQ(MakeDisplayable(Screen().buttons[0]), "Prüfung");
}

TEST_F(MenuTest, ChangesOnDiskShowAtTheNextPage)
{
    MakeTopics(1);
    Start();
    m_root.MakeFolder("Neu");
    m_root.Write("Thema 01/Neu.lst", "A;");
    Click(MenuButton0);
    EXPECT_EQ(Screen().buttons, (std::vector<Text>{"Neu"}));
    std::filesystem::remove_all(m_root.Path() / "Thema 01");
    Click(LeftButton);
    EXPECT_EQ(Screen().buttons, (std::vector<Text>{"Neu"}));
}

TEST_F(MenuTest, VanishedFolderShowsHeadingOnly)
{
    MakeTopics(1);
    MakeLists("Thema 01", 2);
    Start();
    std::filesystem::remove_all(m_root.Path() / "Thema 01");
    Click(MenuButton0);
    EXPECT_EQ(Screen(), (MenuScreen{"Untermenue von: Thema 01", {}, "Hauptmenue", "-"}));
    Click(LeftButton);
    EXPECT_EQ(Screen(), (MenuScreen{"Hauptmenue", {}, "Ende", "-"}));
}

TEST_F(MenuTest, TenThousandFoldersPage)
{
    for (int i = 0; i < 10000; ++i)
        m_root.MakeFolder("T" + std::to_string(10000 + i));
    Start();
    EXPECT_EQ(Screen().heading, "Hauptmenue Seite 1 von 1667");
    EXPECT_EQ(Screen().buttons,
              (std::vector<Text>{"T10000", "T10001", "T10002", "T10003", "T10004", "T10005"}));
}
} // namespace
