// A running list on the headless dialog, seen as users see it: one topic folder "Thema" in a
// fresh program folder, its lists, and the screen reduced to texts and captions.
#pragma once

#include "TestSupport.h"
#include "platform/ControlId.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace RunnerTest
{
inline const Text Title = "Tavrino";
inline const Text SubMenuHeading = "Untermenue von: Thema";
inline const Text EndText = "Liste abgearbeitet!\n Allzeit gute Fahrt!";
inline const Text Hidden = "-";

using Lines = std::vector<std::string>;

// Lines of a list file, each followed by `lineEnd`.
inline std::string Joined(const Lines& lines, std::string_view lineEnd = "\r\n")
{
    std::string bytes;
    for (const auto& line : lines)
        bytes.append(line).append(lineEnd);
    return bytes;
}

// The visible screen: a text or caption, or "-" when its control is hidden.
struct RunnerScreen
{
    Text heading;
    Text subHeading;
    Text body;
    Text left;
    Text centre;
    Text right;
    bool picture = false;
    bool operator==(const RunnerScreen&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const RunnerScreen& screen)
{
    return out << "{heading '" << screen.heading << "' | sub '" << screen.subHeading << "' | body '"
               << screen.body << "' | left " << screen.left << " | centre " << screen.centre
               << " | right " << screen.right << " | picture " << screen.picture << "}";
}

// Where the run stands and what the buttons will do.
struct RunnerPlace
{
    std::int32_t line = 0;
    std::int32_t counter = 0;
    ScreenState screen = ScreenState::Start;
    ViewMode view = ViewMode::StartScreen;
    LeftButtonMode left = LeftButtonMode::EndProgram;
    bool backBlocked = false;
    bool operator==(const RunnerPlace&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const RunnerPlace& place)
{
    return out << "{line " << place.line << " | counter " << place.counter << " | screen "
               << static_cast<int>(place.screen) << " | view " << static_cast<int>(place.view)
               << " | left " << static_cast<int>(place.left) << " | backBlocked "
               << place.backBlocked << "}";
}

// A step screen that sits under the sub-menu's headings (a list without "$" or "!").
inline RunnerScreen StepScreen(Text body, Text centre = Hidden)
{
    return {Title, SubMenuHeading, std::move(body), "Abbruch", std::move(centre), "Weiter", false};
}

// The end screen under the given headings.
inline RunnerScreen EndScreen(Text centre, Text heading = Title, Text subHeading = SubMenuHeading)
{
    return {std::move(heading),
            std::move(subHeading),
            EndText,
            Hidden,
            std::move(centre),
            "Ende",
            false};
}

// Kills the test program when a step hangs (a FIFO opened for reading blocks for ever), so
// that the hang shows as a failure instead of a stuck run.
class CHangGuard
{
public:
    explicit CHangGuard(unsigned seconds = 20) { alarm(seconds); }
    ~CHangGuard() { alarm(0); }
    CHangGuard(const CHangGuard&) = delete;
    CHangGuard& operator=(const CHangGuard&) = delete;
};

class CRunnerTest : public testing::Test
{
protected:
    // The program folder, as g_appFolder names it.
    Text ProgramFolder() const { return m_root.Folder() + m_programSubfolder; }
    // The folder of the topic, as g_listFolder names it.
    Text TopicFolder() const { return ProgramFolder() + "Thema/"; }
    // Writes a file into the topic folder.
    std::filesystem::path Write(const std::string& name, std::string_view bytes) const
    {
        return m_root.Write(m_programSubfolder + "Thema/" + name, bytes);
    }
    std::filesystem::path TopicPath(const std::string& name) const
    {
        return m_root.Path() / (m_programSubfolder + "Thema/" + name);
    }

    // Creates the dialog, presses "Start" and opens the topic's sub-menu.
    void OpenTopic()
    {
        m_root.MakeFolder(m_programSubfolder + "Thema");
        m_dialog = std::make_unique<CDialogHarness>(ProgramFolder());
        Surface().Click(ControlId::CentreButton);
        Surface().Click(ControlId::MenuButton0);
    }

    // Presses the sub-menu button of the list file `name` (which must be listed).
    void ChooseList(const Text& name)
    {
        const auto& entries = m_dialog->Dialog().Store().Entries();
        const auto found = std::find(entries.begin(), entries.end(), name);
        ASSERT_NE(found, entries.end()) << name << " is not in the sub-menu";
        const auto index = static_cast<int>(found - entries.begin());
        for (int page = 0; page < index / 6; ++page)
            Surface().Click(ControlId::CentreButton);
        Surface().Click(ControlId::MenuButtons[index % 6]);
    }

    // Writes the list "Liste.lst" (lines ended by CR LF), opens the topic and starts the list.
    void StartList(const Lines& lines) { StartListOfBytes(Joined(lines)); }
    void StartListOfBytes(std::string_view bytes)
    {
        Write("Liste.lst", bytes);
        OpenTopic();
        ChooseList("Liste.lst");
    }

    // Presses buttons in order: 'L' left, 'C' centre, 'R' right, 'P' a tap on the picture,
    // 'T' one timer tick (only while the timer runs).
    void Press(std::string_view keys)
    {
        for (const char key : keys)
        {
            switch (key)
            {
            case 'L':
                Surface().Click(ControlId::LeftButton);
                break;
            case 'C':
                Surface().Click(ControlId::CentreButton);
                break;
            case 'R':
                Surface().Click(ControlId::RightButton);
                break;
            case 'P':
                Surface().Click(ControlId::Picture);
                break;
            case 'T':
                EXPECT_TRUE(Surface().Tick()) << "the timer does not run";
                break;
            default:
                ADD_FAILURE() << "unknown key " << key;
            }
        }
    }

    Text Shown(int id) const { return m_dialog->IsShown(id) ? m_dialog->ControlText(id) : Hidden; }

    RunnerScreen Screen() const
    {
        using namespace ControlId;
        return {
            Shown(Heading),      Shown(SubHeading),  Shown(BodyText),           Shown(LeftButton),
            Shown(CentreButton), Shown(RightButton), m_dialog->IsShown(Picture)};
    }

    RunnerPlace Place() const
    {
        const auto& state = State();
        return {state.g_currentLine, state.g_stepCounter,    state.g_screenState,
                state.g_viewMode,    state.g_leftButtonMode, state.g_backBlocked};
    }

    // Page 1 of the topic's sub-menu is up, with nothing of the list left on it.
    void ExpectSubMenuPageOne() const
    {
        EXPECT_EQ(State().g_viewMode, ViewMode::SubMenu);
        EXPECT_EQ(State().g_leftButtonMode, LeftButtonMode::PreviousSubMenuPage);
        EXPECT_EQ(State().g_subMenuFirst, 0);
        EXPECT_EQ(Shown(ControlId::Heading), Title);
        EXPECT_EQ(Shown(ControlId::SubHeading).rfind(SubMenuHeading, 0), 0u)
            << Shown(ControlId::SubHeading);
        EXPECT_EQ(Shown(ControlId::LeftButton), "Hauptmenue");
        EXPECT_EQ(Shown(ControlId::BodyText), Hidden);
        EXPECT_EQ(Shown(ControlId::RightButton), Hidden);
        EXPECT_FALSE(m_dialog->IsShown(ControlId::Picture));
        EXPECT_TRUE(m_dialog->IsShown(ControlId::MenuButton0));
    }

    // The stopwatch is off: no timer, no running flag, no name.
    void ExpectStopwatchCancelled() const
    {
        EXPECT_FALSE(m_dialog->Surface().IsTimerRunning());
        EXPECT_EQ(State().g_stopwatchRunning, 0);
        EXPECT_EQ(State().g_stopwatchName, "");
    }

    // The picture that control 1023 holds; null when none.
    PictureHandle ShownPicture() const
    {
        return m_dialog->Surface().Controls().at(ControlId::Picture).picture;
    }

    std::vector<Text> Messages() { return Surface().TakeMessages(); }
    std::vector<Text> StoreLines() const { return m_dialog->Dialog().Store().Entries(); }
    const SharedState& State() const { return m_dialog->State(); }
    CHeadlessSurface& Surface() { return m_dialog->Surface(); }

    CTemporaryFolder m_root;
    std::string m_programSubfolder; // "" or a folder of m_root, ending with "/"
    std::unique_ptr<CDialogHarness> m_dialog;
};

} // namespace RunnerTest
