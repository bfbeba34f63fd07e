// `tavrino --text`: screens as text, keys that press the shown buttons, boxes confirmed by Enter.
#include "TestSupport.h"
#include "frontends/TerminalShell.h"
#include "platform/ControlId.h"

#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace
{
TEST(Terminal, StartScreenShowsItsTextsAndOnlyTheShownButtons)
{
    CDialogHarness harness("/lists/");
    const Text screen = CTerminalShell::RenderScreen(harness.Surface());
    for (const char* expected :
         {"  Tavrino\n", "  Checklisten Schritt für Schritt\n",
          "  Dieses Programm ist nur eine Hilfestellung", "[s] Start", "[q] Beenden"})
        EXPECT_NE(screen.find(expected), Text::npos) << expected << "\n" << screen;
    for (const char* hidden : {"[a]", "[d]", "[1]", "Button1", "[b]"})
        EXPECT_EQ(screen.find(hidden), Text::npos) << hidden;
    // Long texts are wrapped within the line width.
    std::istringstream lines(screen);
    for (std::string line; std::getline(lines, line);)
        EXPECT_LE(line.size(), 80u) << line;
}

TEST(Terminal, QuitKeyAndEndOfInputEndTheProgram)
{
    CTemporaryFolder root;
    for (const std::string input : {"q", "", "xyz"})
    {
        const auto run = RunProgram({"--text", "--root", root.Path().string()}, input);
        EXPECT_EQ(run.exitStatus, 0) << input << run.errors;
        EXPECT_NE(run.output.find("[s] Start"), std::string::npos) << input;
    }
}

TEST(Terminal, MessageBoxWaitsForEnterWhileTicksGoOn)
{
    // Drive the shell directly with a pipe, so that the box's wait can be seen to end.
    int keys[2];
    ASSERT_EQ(pipe(keys), 0);
    std::ostringstream output;
    CTerminalShell shell(nullptr, keys[0], output);
    auto& surface = static_cast<CHeadlessSurface&>(shell.Surface());
    CMainDialog dialog(surface, "/lists/");
    ASSERT_TRUE(dialog.Create());
    ASSERT_EQ(write(keys[1], "x\n", 2), 2);
    surface.ShowMessageBox("Zeit für Timer konnte nicht gelesen werden");
    EXPECT_NE(output.str().find("| Zeit für Timer konnte nicht gelesen werden"), std::string::npos);
    EXPECT_NE(output.str().find("[Enter] OK"), std::string::npos);
    close(keys[1]);
    EXPECT_EQ(shell.RunModal(dialog), 0); // end of input closes the dialog
    EXPECT_EQ(surface.Result(), DialogResult::Ok);
    close(keys[0]);
}
} // namespace
