// The buttons of a running list: forward, the walk back, answers, leaving the list, and the
// loading of a list from its sub-menu.
#include "RunnerTestSupport.h"
#include "runner/StepBackWalk.h"

#include <sys/stat.h>

namespace
{
using namespace RunnerTest;
using namespace ControlId;

class RunnerNavigationTest : public CRunnerTest
{
};

// The example list of a brake test, walked through by "Nein", the jump and the picture.
const Lines BrakeTest = {"$Bremsprobe",
                         "!Vorbereitung",
                         "Hauptschalter aus",
                         "Bremse angelegt;",
                         "Druck in Ordnung?",
                         "nein1/ja1",
                         "%nein1",
                         "Druck pruefen;",
                         "@ja1",
                         "%ja1",
                         "*bremse.png",
                         "Bremse loesen;"};

RunnerScreen BrakeStep(Text body, Text left = "Abbruch", Text centre = Hidden,
                       Text right = "Weiter")
{
    return {"Bremsprobe",     "Vorbereitung", std::move(body), std::move(left), std::move(centre),
            std::move(right), false};
}

const RunnerScreen PictureOnly{Hidden, Hidden, Hidden, Hidden, Hidden, Hidden, true};

TEST_F(RunnerNavigationTest, BrakeTestByNoTheJumpAndThePicture)
{
    Write("bremse.png", "PICTURE 240x320");
    StartList(BrakeTest);
    const struct
    {
        const char* keys;
        RunnerScreen screen;
        RunnerPlace place;
    } walk[] = {
        {"",
         BrakeStep("Hauptschalter aus\nBremse angelegt"),
         {3, 1, ScreenState::Step, ViewMode::ListStep, LeftButtonMode::LeaveList, false}},
        {"R",
         BrakeStep("Druck in Ordnung?", "Zum Anfang", "Nein", "Ja"),
         {5, 3, ScreenState::Question, ViewMode::ListQuestion, LeftButtonMode::QuestionScreen,
          true}},
        {"C",
         BrakeStep("Druck pruefen"),
         {7, 4, ScreenState::Step, ViewMode::ListStep, LeftButtonMode::LeaveList, true}},
        {"R",
         PictureOnly,
         {10, 5, ScreenState::Picture, ViewMode::ListPicture, LeftButtonMode::LeaveList, true}},
        {"P",
         BrakeStep("Bremse loesen"),
         {11, 6, ScreenState::Step, ViewMode::ListStep, LeftButtonMode::LeaveList, true}},
        {"R",
         BrakeStep(EndText, Hidden, Hidden, "Ende"),
         {12, 7, ScreenState::End, ViewMode::ListStep, LeftButtonMode::LeaveList, true}},
    };
    for (const auto& step : walk)
    {
        Press(step.keys);
        EXPECT_EQ(Screen(), step.screen) << "after " << step.keys << " at line " << step.place.line;
        EXPECT_EQ(Place(), step.place);
    }
    EXPECT_EQ(State().g_noTarget, 7);
    EXPECT_EQ(State().g_yesTarget, 10);
    Press("R");
    ExpectSubMenuPageOne();
    EXPECT_EQ(Messages(), std::vector<Text>{});
}

TEST_F(RunnerNavigationTest, YesAndBackToTheStart)
{
    Write("bremse.png", "PICTURE 200x100");
    StartList(BrakeTest);
    Press("RR"); // "Ja" goes on after the JA label, leaving the counter alone
    EXPECT_EQ(Screen(), PictureOnly);
    EXPECT_EQ(Place(), (RunnerPlace{10, 3, ScreenState::Picture, ViewMode::ListPicture,
                                    LeftButtonMode::LeaveList, true}));

    StartList(BrakeTest);
    Press("RL"); // "Zum Anfang"
    EXPECT_EQ(Screen(), BrakeStep("Hauptschalter aus\nBremse angelegt"));
    EXPECT_EQ(Place(), (RunnerPlace{3, 1, ScreenState::Step, ViewMode::ListStep,
                                    LeftButtonMode::LeaveList, true}));
}

TEST_F(RunnerNavigationTest, EndOnAQuestionOfTheFirstScreenLeavesTheList)
{
    StartList({"Los?", "n/j", "%n", "N;", "%j", "J;"});
    EXPECT_EQ(Screen(), (RunnerScreen{Title, SubMenuHeading, "Los?", "Ende", "Nein", "Ja", false}));
    Press("L");
    ExpectSubMenuPageOne();
}

// The checker asks only where a walk restarts; without the sub-heading search the answer must
// be the same from every line.
TEST(WalkBack, RestartLineIsTheSameWithoutTheSubHeadingSearch)
{
    const std::vector<std::vector<Text>> stores = {
        {},
        {"A;"},
        {"!Eins", "A;", "B;", "!Zwei", "x", "C;", "D;"},
        {"A", "B;", " C;", "D", "!x", "E;"},
    };
    for (const auto& lines : stores)
    {
        LineStore store;
        for (const Text& line : lines)
            store.Append(line);
        for (std::int32_t line = -1; line <= store.Count() + 1; ++line)
        {
            const StepBackWalk searched = WalkBack(store, line);
            const StepBackWalk skipped = WalkBack(store, line, SubHeadingSearch::Skip);
            EXPECT_EQ(skipped.restartLine, searched.restartLine) << line;
            EXPECT_EQ(skipped.reachedFirstLine, searched.reachedFirstLine) << line;
            EXPECT_FALSE(skipped.subHeadingLine) << line;
        }
    }
}

// The index kept from walk to walk must find the sub-heading that a search back from the
// restart finds, also after the store changed under it.
TEST(WalkBack, KeptSubHeadingIndexFindsWhatASearchBackFinds)
{
    const std::vector<std::vector<Text>> stores = {
        {"!Eins", "A;", "B;", "!Zwei", "x", "C;", "D;"},
        {"A;", "B;", "!spät", "C;", "D;"},
        {"!a", "!b", "A;", " !kein", "B;", "C;"},
        {"A;", "B;", "C;"},
    };
    SubHeadingIndex kept;
    LineStore store;
    for (const auto& lines : stores)
    {
        store.Clear();
        for (const Text& line : lines)
            store.Append(line);
        for (std::int32_t line = -1; line <= store.Count() + 1; ++line)
        {
            const StepBackWalk walk = WalkBack(store, line, kept);
            std::optional<std::int32_t> expected;
            if (!walk.reachedFirstLine || walk.restartLine > 0)
            {
                for (std::int32_t i = walk.restartLine - 1; i >= 0 && !expected; --i)
                    if (!store.GetText(i).empty() && store.GetText(i)[0] == '!')
                        expected = i;
            }
            EXPECT_EQ(walk.subHeadingLine, expected) << lines.front() << " at " << line;
            EXPECT_EQ(walk.restartLine, WalkBack(store, line).restartLine);
        }
    }
}

// The checker looks its walks up in a kept index of step ends; each must restart where the walk
// line by line does, also after the store changed under the index, and read no line once built.
TEST(WalkBack, KeptStepEndIndexRestartsWhereTheWalkDoes)
{
    const std::vector<std::vector<Text>> stores = {
        {"A;", "B;", "C;"},
        {"A", "B;", " C;", "D", "!x", "E;"},
        {";"},
        {"x", "y"},
        {"A;", ":", ":", "*b.png", "?", "n/j"},
        {"  ;  ", "", "B ;", "C", "D;", "E"},
        {},
    };
    CStepEndIndex kept;
    LineStore store;
    for (const auto& lines : stores)
    {
        store.Clear();
        for (const Text& line : lines)
            store.Append(line);
        // In the order of the lines, which the index answers from its last answer, then back
        // and in jumps, which it must look up afresh.
        std::vector<std::int32_t> order;
        for (std::int32_t line = -1; line <= store.Count() + 1; ++line)
            order.push_back(line);
        for (std::int32_t line = store.Count() + 1; line >= -1; --line)
            order.push_back(line);
        for (std::int32_t i = 0; i <= store.Count() + 2; ++i)
            order.push_back((i * 5) % (store.Count() + 3) - 1);
        bool built = false;
        for (const std::int32_t line : order)
        {
            const StepBackWalk walk = WalkBack(store, line, kept);
            const StepBackWalk expected = WalkBack(store, line, SubHeadingSearch::Skip);
            EXPECT_EQ(walk.restartLine, expected.restartLine) << lines.size() << " at " << line;
            EXPECT_EQ(walk.reachedFirstLine, expected.reachedFirstLine)
                << lines.size() << " at " << line;
            if (built)
            {
                EXPECT_EQ(walk.linesRead, 0) << lines.size() << " at " << line;
            }
            built = built || walk.linesRead > 0;
        }
    }
}

struct WalkBackCase
{
    const char* name;
    Lines lines;
    const char* keys; // presses before the last "Zurück"
    RunnerScreen before;
    RunnerScreen after;
    std::int32_t line;
    std::int32_t counter;
};

void PrintTo(const WalkBackCase& c, std::ostream* out)
{
    *out << c.name;
}

class WalkBackTest : public CRunnerTest, public testing::WithParamInterface<WalkBackCase>
{
};

TEST_P(WalkBackTest, ShowsThePreviousStep)
{
    Write("bild.png", "PICTURE 200x260");
    StartList(GetParam().lines);
    Press(GetParam().keys);
    EXPECT_EQ(Screen(), GetParam().before);
    Press("C");
    EXPECT_EQ(Screen(), GetParam().after);
    EXPECT_EQ(State().g_currentLine, GetParam().line);
    EXPECT_EQ(State().g_stepCounter, GetParam().counter);
    EXPECT_EQ(State().g_screenState, ScreenState::Step);
    EXPECT_EQ(State().g_viewMode, ViewMode::ListStep);
}

RunnerScreen Under(Text subHeading, Text body, Text centre = Hidden)
{
    return {Title, std::move(subHeading), std::move(body), "Abbruch", std::move(centre), "Weiter",
            false};
}

INSTANTIATE_TEST_SUITE_P(Cases, WalkBackTest,
                         testing::Values(WalkBackCase{"FindsTheSubHeadingBeforeThePreviousStep",
                                                      {"!Abschnitt", "A;", "B;", "C;"},
                                                      "RR",
                                                      Under("Abschnitt", "C", "Zurück"),
                                                      Under("Abschnitt", "B", "Zurück"),
                                                      2,
                                                      6},
                                         WalkBackCase{"ReachesLineZeroAndRestarts",
                                                      {"!Abschnitt", "A;", "B;", "C;"},
                                                      "R",
                                                      Under("Abschnitt", "B", "Zurück"),
                                                      Under("Abschnitt", "A"),
                                                      1,
                                                      1},
                                         WalkBackCase{"SubHeadingOfTheEarlierPlaceComesBack",
                                                      {"! Eins ", "A;", "B;", "!Zwei", "C;"},
                                                      "RR",
                                                      Under("Zwei", "C", "Zurück"),
                                                      Under(" Eins ", "B", "Zurück"),
                                                      2,
                                                      6},
                                         WalkBackCase{"SubHeadingSearchTakesNoIndentedLine",
                                                      {"!Eins", "y", " !Zwei", "A;", "B;", "C;"},
                                                      "RR",
                                                      Under("Zwei", "C", "Zurück"),
                                                      Under("Eins", "B", "Zurück"),
                                                      4,
                                                      6},
                                         WalkBackCase{"NoSubHeadingFoundLeavesItAlone",
                                                      {"A;", "B;", "!Zwei", "C;"},
                                                      "RR",
                                                      Under("Zwei", "C", "Zurück"),
                                                      Under("Zwei", "B"),
                                                      1,
                                                      1},
                                         WalkBackCase{"StepsOfSeveralLinesShownWhole",
                                                      {"T1", "A;", "T2", "T3", "B;", "T4", "C;"},
                                                      "RR",
                                                      StepScreen("T4\nC", "Zurück"),
                                                      StepScreen("T2\nT3\nB", "Zurück"),
                                                      4,
                                                      6},
                                         WalkBackCase{"TrimmedSemicolonLineEndsAStepForTheWalk",
                                                      {"X", "#c; ", "Y;", "Z;"},
                                                      "R",
                                                      StepScreen("Z", "Zurück"),
                                                      StepScreen("Y", "Zurück"),
                                                      2,
                                                      4},
                                         WalkBackCase{"FromTheEndScreenPastTrailingText",
                                                      {"A;", "B;", "x"},
                                                      "RR",
                                                      EndScreen("Zurück"),
                                                      StepScreen("B"),
                                                      1,
                                                      1},
                                         WalkBackCase{"FromTheEndScreenToASingleStep",
                                                      {"A;"},
                                                      "R",
                                                      EndScreen("Zurück"),
                                                      StepScreen("A"),
                                                      0,
                                                      1},
                                         WalkBackCase{"FirstStepIsLineZeroAlone",
                                                      {"A;", "B;"},
                                                      "R",
                                                      StepScreen("B", "Zurück"),
                                                      StepScreen("A"),
                                                      0,
                                                      1},
                                         WalkBackCase{"FromARedrawnPictureScreen",
                                                      {"A;", "B;", "*bild.png", "C;"},
                                                      "RR",
                                                      PictureOnly,
                                                      StepScreen("B"),
                                                      1,
                                                      1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunnerNavigationTest, PictureTapGoesOnAfterThePictureLine)
{
    Write("bild.png", "PICTURE 200x260");
    for (const char* key : {"P", "R"}) // "Weiter" of a redrawn picture screen does the same
    {
        StartList({"A", "*bild.png", "B;"});
        Press(key);
        EXPECT_EQ(Screen(), StepScreen("B")) << key;
        EXPECT_EQ(Place(), (RunnerPlace{2, 1, ScreenState::Step, ViewMode::ListStep,
                                        LeftButtonMode::LeaveList, false}));
    }
    // On a step screen a tap on the hidden picture counts as "Weiter".
    StartList({"A;", "B;"});
    Press("P");
    EXPECT_EQ(Screen(), StepScreen("B", "Zurück"));
}

TEST_F(RunnerNavigationTest, PictureStepsInARow)
{
    Write("a.png", "PICTURE 200x260");
    Write("b.png", "PICTURE 300x300");
    StartList({"*a.png", "*b.png", "Fertig;"});
    EXPECT_EQ(ShownPicture()->Width(), 200);
    Press("P");
    EXPECT_EQ(Screen(), PictureOnly);
    EXPECT_EQ(ShownPicture()->SourceFile(), TopicFolder() + "b.png");
    EXPECT_EQ(State().g_currentLine, 1);
    Press("P");
    EXPECT_EQ(Screen(), StepScreen("Fertig"));
}

TEST_F(RunnerNavigationTest, WeiterOnTheLastStepLeadsToTheEndScreen)
{
    StartList({"A;"});
    Press("R");
    EXPECT_EQ(Screen(), EndScreen("Zurück"));
    EXPECT_EQ(State().g_currentLine, 1);
    EXPECT_EQ(State().g_stepCounter, 2);
}

TEST_F(RunnerNavigationTest, LeavingReturnsToPageOneOfTheSubMenu)
{
    for (int i = 1; i <= 8; ++i)
        Write("Liste " + std::to_string(i) + ".lst", Joined({"A;", "B;"}));
    for (const char* keys :
         {"L", "RRR", "RL"}) // "Abbruch"; "Ende" on the end screen; "Abbruch" later
    {
        OpenTopic();
        ChooseList("Liste 8.lst"); // from page 2
        Press(keys);
        ExpectSubMenuPageOne();
        EXPECT_EQ(Shown(SubHeading), SubMenuHeading + " Seite 1 von 2") << keys;
        EXPECT_EQ(StoreLines().size(), 8u);
    }
}

TEST_F(RunnerNavigationTest, ChoosingAListAgainStartsItAfresh)
{
    StartList({"F?", "n/j", "%n", "%j", "A;", "B;"});
    Press("RRL");
    ChooseList("Liste.lst");
    EXPECT_EQ(Screen(), (RunnerScreen{Title, SubMenuHeading, "F?", "Ende", "Nein", "Ja", false}));
    EXPECT_EQ(State().g_stepCounter, 1);
}

TEST_F(RunnerNavigationTest, AListThatOpensShowsItsBodyAndHidesTheMenu)
{
    StartList({"A;"});
    for (const int id : MenuButtons)
        EXPECT_FALSE(m_dialog->IsShown(id));
    EXPECT_EQ(StoreLines(), std::vector<Text>{"A;"});
}

TEST_F(RunnerNavigationTest, ListFileThatCannotBeOpened)
{
    CHangGuard guard;
    const std::vector<std::pair<const char*, void (*)(const std::filesystem::path&)>> replacements =
        {
            {"vanished", [](const std::filesystem::path& path) { std::filesystem::remove(path); }},
            {"folder",
             [](const std::filesystem::path& path)
             {
                 std::filesystem::remove(path);
                 std::filesystem::create_directory(path);
             }},
            {"fifo",
             [](const std::filesystem::path& path)
             {
                 std::filesystem::remove(path);
                 ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
             }},
        };
    Write("y.lst", "A;\r\n"); // so that the sub-menu keeps a button
    for (const auto& [what, replace] : replacements)
    {
        Write("x.lst", "A;\r\n");
        OpenTopic();
        replace(TopicPath("x.lst"));
        ChooseList("x.lst");
        const RunnerScreen failed{TopicFolder() + "x.lst",
                                  "konnte nicht geöffnet werden!",
                                  Hidden,
                                  Hidden,
                                  "Zurück",
                                  "Ende",
                                  false};
        EXPECT_EQ(Screen(), failed) << what;
        EXPECT_EQ(StoreLines(), std::vector<Text>{}) << what;
        EXPECT_EQ(Place(), (RunnerPlace{0, 0, ScreenState::End, ViewMode::ListStep,
                                        LeftButtonMode::LeaveList, false}));
        for (const int id : MenuButtons)
            EXPECT_FALSE(m_dialog->IsShown(id)) << what;
        Press("C"); // nothing to go back to: the empty list starts over
        EXPECT_EQ(Screen(), failed) << what;
        EXPECT_EQ(Messages(), std::vector<Text>{}) << what;
        Press("R");
        ExpectSubMenuPageOne();
        std::filesystem::remove_all(TopicPath("x.lst"));
    }
}
} // namespace
