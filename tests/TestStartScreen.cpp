// The dialog right after start-up, its state at program load, and how it ends.
#include "TestSupport.h"
#include "app/DialogTexts.h"
#include "platform/ControlId.h"
#include "platform/ProgramFile.h"

#include <gtest/gtest.h>

namespace
{
using namespace ControlId;

TEST(StartScreen, ShowsTitleByLineNoticeAndStartOnly)
{
    CDialogHarness harness("/lists/");
    EXPECT_EQ(harness.ShownControls(),
              (std::vector<int>{Heading, SubHeading, CentreButton, BodyText}));
    EXPECT_EQ(harness.ControlText(Heading), "Tavrino");
    EXPECT_EQ(harness.ControlText(SubHeading), DialogText::ByLine);
    EXPECT_EQ(harness.ControlText(BodyText),
              "Dieses Programm ist nur eine Hilfestellung, für die Einhaltung der gültigen "
              "Vorschriften und Richtlinien ist jeder TF selbst verantwortlich!");
    EXPECT_EQ(harness.ControlText(CentreButton), "Start");
    // The menu buttons keep their template captions while hidden.
    EXPECT_EQ(harness.ControlText(MenuButton0), "Button1");
    EXPECT_EQ(harness.ControlText(MenuButton5), "Button7");
    EXPECT_EQ(harness.Surface().Controls().size(), 14u);
}

TEST(StartScreen, StateHasProgramLoadValues)
{
    CDialogHarness harness("/lists/");
    const SharedState& s = harness.State();
    EXPECT_EQ(s.g_appFolder, "/lists/");
    EXPECT_FALSE(s.g_started);
    EXPECT_EQ(s.g_viewMode, ViewMode::StartScreen);
    EXPECT_EQ(s.g_screenState, ScreenState::Start);
    EXPECT_EQ(s.g_leftButtonMode, LeftButtonMode::EndProgram);
    EXPECT_FALSE(s.g_backBlocked);
    for (const std::int32_t value :
         {s.g_menuFirst, s.g_subMenuFirst, s.g_chosenFolderIndex, s.g_pressedButton,
          s.g_currentLine, s.g_stepCounter, s.g_yesTarget, s.g_noTarget, s.g_stopwatchSeconds,
          s.g_stopwatchRunning})
        EXPECT_EQ(value, 0);
    for (const Text* text :
         {&s.g_folderName, &s.g_listFolder, &s.g_headingText, &s.g_subHeadingText, &s.g_bodyText,
          &s.g_picturePath, &s.g_stopwatchName})
        EXPECT_EQ(*text, "");
    EXPECT_EQ(harness.Dialog().Store().Count(), 0);
    EXPECT_FALSE(harness.Surface().IsTimerRunning());
}

TEST(StartScreen, DoneButtonEndsWithOk)
{
    CDialogHarness harness("/lists/");
    harness.Surface().Close();
    EXPECT_EQ(harness.Surface().Result(), DialogResult::Ok);
    // Once ended, the dialog takes no further messages.
    harness.Surface().Click(CentreButton);
    EXPECT_EQ(harness.State().g_viewMode, ViewMode::StartScreen);
}

TEST(StartScreen, WithoutRootTheProgramFileFolderIsUsed)
{
    CDialogHarness harness("");
    const Text folder = harness.State().g_appFolder;
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(folder, FolderOfPath(ProgramFilePath()));
}

TEST(ProgramFolder, IsCutBehindTheLastSlash)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/tavrino/bin/tavrino", "/opt/tavrino/bin/"},
        {"/tavrino", "/"},
        {"/a b/c.d/tavrino", "/a b/c.d/"},
        {"tavrino", ""},
    };
    for (const auto& [path, folder] : cases)
        EXPECT_EQ(FolderOfPath(path), folder) << path;
}

TEST(StartScreen, HiddenControlsChangeNothing)
{
    // A click on a hidden control still arrives (play delivers it); none but the left
    // button, whose mode on the start screen ends the program, may change the screen.
    CDialogHarness harness("/lists/");
    for (const int id : {MenuButton0, MenuButton1, MenuButton2, MenuButton3, MenuButton4,
                         MenuButton5, RightButton, Picture, 4242})
        harness.Surface().Click(id);
    harness.Surface().Resize({320, 240});
    harness.Surface().Tick();
    EXPECT_EQ(harness.ShownControls(),
              (std::vector<int>{Heading, SubHeading, CentreButton, BodyText}));
    EXPECT_FALSE(harness.Surface().HasEnded());
    harness.Surface().Click(LeftButton);
    EXPECT_EQ(harness.Surface().Result(), DialogResult::Cancel);
}
} // namespace
