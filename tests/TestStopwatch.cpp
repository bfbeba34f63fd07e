// The countdown stopwatch of a list: start lines, the countdown in the heading, check lines,
// replacement and cancelling.
#include "RunnerTestSupport.h"

namespace
{
using namespace RunnerTest;
using namespace ControlId;

const Text Unreadable = "Zeit für Timer konnte nicht gelesen werden";

Text Warning(const Text& name)
{
    return "Achtung!\n Die Stoppuhr " + (name.empty() ? Text{} : "für: " + name + " ") +
           " ist noch nicht abgelaufen. Für den nächsten Schritt bitte auf die Zeit achten!";
}

struct StartCase
{
    const char* name;
    const char* line;
    std::int32_t seconds;
    Text stopwatchName;
    Text headingAfterTick; // "" when the first tick ends the stopwatch
};

void PrintTo(const StartCase& c, std::ostream* out)
{
    *out << c.name;
}

class StartLineTest : public CRunnerTest, public testing::WithParamInterface<StartCase>
{
};

TEST_P(StartLineTest, ReadsSecondsAndName)
{
    const auto& c = GetParam();
    StartList({"$Kopf", c.line, "A;"});
    const bool unreadable = c.seconds == 0;
    EXPECT_EQ(Messages(), unreadable ? std::vector<Text>{Unreadable} : std::vector<Text>{});
    EXPECT_EQ(Screen(),
              (RunnerScreen{"Kopf", SubMenuHeading, "A", "Abbruch", Hidden, "Weiter", false}));
    EXPECT_EQ(State().g_stopwatchSeconds, c.seconds);
    EXPECT_EQ(State().g_stopwatchName, c.stopwatchName);
    EXPECT_EQ(State().g_stopwatchRunning, 0); // raised by the first tick only
    EXPECT_EQ(Surface().IsTimerRunning(), !unreadable);
    if (unreadable)
        return;
    Press("T");
    const bool ranOut = c.headingAfterTick.empty();
    EXPECT_EQ(Shown(Heading), ranOut ? "Kopf" : c.headingAfterTick);
    EXPECT_EQ(State().g_stopwatchRunning, ranOut ? 0 : 1);
    EXPECT_EQ(Surface().IsTimerRunning(), !ranOut);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, StartLineTest,
    testing::Values(
        StartCase{"Seconds", ":60", 60, "", "Stoppuhr: 59"},
        StartCase{"Name", ":60 Bremsprobe Lok", 60, "Bremsprobe Lok",
                  "Stoppuhr für Bremsprobe Lok59"},
        StartCase{"NameKeepsInnerSpaces", ":60   Lok", 60, "  Lok", "Stoppuhr für   Lok59"},
        StartCase{"LineTrimmed", "  :  45 Lok  ", 45, "Lok", "Stoppuhr für Lok44"},
        StartCase{"LettersAfterDigits", ":90s", 90, "", "Stoppuhr: 89"},
        StartCase{"ColonInDuration", ":1:30", 1, "", ""},
        StartCase{"PlusSign", ":+7", 7, "", "Stoppuhr: 6"},
        StartCase{"Negative", ":-5", -5, "", ""}, StartCase{"Zero", ":0", 0, "", ""},
        StartCase{"ZeroWithName", ":0 Lok", 0, "", ""}, StartCase{"Letters", ":abc", 0, "", ""},
        StartCase{"LetterFirst", ":x60", 0, "", ""},
        StartCase{"HeldAtUpperLimit", ":99999999999", 2147483647, "", "Stoppuhr: 2147483646"},
        StartCase{"HeldAtLowerLimit", ":-99999999999 Lok", -2147483647 - 1, "Lok", ""}),
    [](const auto& info) { return std::string(info.param.name); });

class StopwatchTest : public CRunnerTest
{
};

TEST_F(StopwatchTest, CountsDownInTheHeadingAndGivesItBack)
{
    StartList({"$Kopf", ":3", "A;", "$Neu", "B;"});
    EXPECT_EQ(Shown(Heading), "Kopf");
    Press("T");
    EXPECT_EQ(Shown(Heading), "Stoppuhr: 2");
    EXPECT_EQ(State().g_stopwatchSeconds, 2);
    Press("R"); // a heading line writes the static, the next tick takes it back
    EXPECT_EQ(Shown(Heading), "Neu");
    EXPECT_EQ(State().g_headingText, "Neu");
    Press("T");
    EXPECT_EQ(Shown(Heading), "Stoppuhr: 1");
    Press("T");
    EXPECT_EQ(Shown(Heading), "Neu");
    EXPECT_EQ(State().g_stopwatchRunning, 0);
    EXPECT_FALSE(Surface().IsTimerRunning());
    EXPECT_FALSE(Surface().Tick());
}

TEST_F(StopwatchTest, RunOutOnTheEndScreenRestoresTheLatestHeading)
{
    StartList({"$Kopf", ":2 Lok", "A;", "$Schluss"});
    Press("R");
    EXPECT_EQ(Screen(), EndScreen("Zurück", "Schluss"));
    Press("T");
    EXPECT_EQ(Shown(Heading), "Stoppuhr für Lok1");
    Press("T");
    EXPECT_EQ(Screen(), EndScreen("Zurück", "Schluss"));
    EXPECT_EQ(State().g_stopwatchName, "");
}

TEST_F(StopwatchTest, RunOutWithoutAnyHeadingLineEmptiesTheHeading)
{
    StartList({":1", "A;"});
    Press("T");
    EXPECT_EQ(m_dialog->ControlText(Heading), "");
}

TEST_F(StopwatchTest, TicksWriteTheHiddenHeadingOfAPicture)
{
    Write("b.png", "PICTURE 200x260");
    StartList({"$Kopf", ":3", "*b.png", "A;"});
    Press("T");
    EXPECT_FALSE(m_dialog->IsShown(Heading));
    EXPECT_EQ(m_dialog->ControlText(Heading), "Stoppuhr: 2");
    Press("P");
    EXPECT_EQ(Shown(Heading), "Stoppuhr: 2");
}

struct CheckCase
{
    const char* name;
    Lines lines; // one check line, "B;" right after it
    const char* keys;
    Text body;
};

void PrintTo(const CheckCase& c, std::ostream* out)
{
    *out << c.name;
}

class CheckLineTest : public CRunnerTest, public testing::WithParamInterface<CheckCase>
{
};

TEST_P(CheckLineTest, WarnsOnlyWhileRunning)
{
    StartList(GetParam().lines);
    Press(GetParam().keys);
    EXPECT_EQ(Shown(BodyText), GetParam().body);
    const auto& lines = GetParam().lines;
    const auto checkLine =
        static_cast<std::int32_t>(std::find(lines.begin(), lines.end(), ":") - lines.begin());
    const bool warned = GetParam().body != "B";
    EXPECT_EQ(Shown(LeftButton), "Abbruch");
    EXPECT_EQ(Shown(CentreButton), warned ? Hidden : "Zurück");
    EXPECT_EQ(Shown(RightButton), "Weiter");
    EXPECT_EQ(State().g_currentLine, warned ? checkLine : checkLine + 1);
    EXPECT_EQ(State().g_stepCounter, warned ? 2 : 3);
    if (!warned)
        return;
    Press("R"); // goes on after the check line
    EXPECT_EQ(Shown(BodyText), "B");
    EXPECT_EQ(Shown(CentreButton), "Zurück");
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CheckLineTest,
    testing::Values(
        CheckCase{"NoStopwatch", {"A;", ":", "B;"}, "R", "B"},
        CheckCase{"BeforeTheFirstTick", {":60", "A;", ":", "B;"}, "R", "B"},
        CheckCase{"RunningWithoutName", {":60", "A;", ":", "B;"}, "TR", Warning("")},
        CheckCase{"RunningWithName", {":60 Lok 2", "A;", ":", "B;"}, "TR", Warning("Lok 2")},
        CheckCase{"DropsTheTextBefore", {":60", "A;", "Text", ":", "B;"}, "TR", Warning("")},
        CheckCase{"AfterRunOut", {":2", "A;", ":", "B;"}, "TTR", "B"},
        CheckCase{"AfterNegativeStart", {":-5", "A;", ":", "B;"}, "TR", "B"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StopwatchTest, SecondStartReplacesTheRunningOne)
{
    StartList({":60 Eins", "A;", ":30 Zwei", ":", "B;"});
    const auto starts = Surface().TimerStarts();
    Press("TR");
    EXPECT_EQ(Surface().TimerStarts(), starts + 1);
    EXPECT_EQ(State().g_stopwatchSeconds, 30);
    EXPECT_EQ(Shown(BodyText), Warning("Zwei")); // the flag is still up from the first one
    EXPECT_EQ(Shown(Heading), "Stoppuhr für Eins59");
    Press("T");
    EXPECT_EQ(Shown(Heading), "Stoppuhr für Zwei29");
}

TEST_F(StopwatchTest, FailedStartEndsARunningOneAtItsNextTick)
{
    StartList({"$Kopf", ":5 Lok", "A;", ":abc", ":", "B;"});
    Press("TR");
    EXPECT_EQ(Messages(), std::vector<Text>{Unreadable});
    EXPECT_TRUE(Surface().IsTimerRunning());
    EXPECT_EQ(State().g_stopwatchName, "");
    EXPECT_EQ(State().g_stopwatchSeconds, 0);
    EXPECT_EQ(Shown(BodyText), Warning(""));
    Press("T");
    EXPECT_FALSE(Surface().IsTimerRunning());
    EXPECT_EQ(State().g_stopwatchRunning, 0);
    EXPECT_EQ(Shown(Heading), "Kopf");
}

TEST_F(StopwatchTest, LeavingTheListCancelsIt)
{
    const std::vector<std::pair<Lines, const char*>> cases = {
        {{":60", "A;"}, "TL"},                    // "Abbruch"
        {{":60", "A;"}, "TRR"},                   // "Ende" on the end screen
        {{":60", "F?", "n/j", "%n", "%j"}, "TL"}, // "Ende" on a question
    };
    Write("Zwei.lst", Joined({":", "B;"}));
    for (const auto& [lines, keys] : cases)
    {
        StartList(lines);
        Press(keys);
        ExpectSubMenuPageOne();
        ExpectStopwatchCancelled();
        EXPECT_FALSE(Surface().Tick());
        ChooseList("Zwei.lst");
        EXPECT_EQ(Screen(), StepScreen("B")) << keys;
    }
}

TEST_F(StopwatchTest, BackAndToTheStartKeepItRunning)
{
    StartList({"A;", ":60", "B;", "F?", "n/j", "%n", "%j"});
    Press("RT");
    const auto starts = Surface().TimerStarts();
    Press("C");
    EXPECT_EQ(Screen(), (RunnerScreen{"Stoppuhr: 59", SubMenuHeading, "A", "Abbruch", Hidden,
                                      "Weiter", false}));
    Press("RRL"); // passing the start line again restarts it; "Zum Anfang" does not touch it
    EXPECT_EQ(Surface().TimerStarts(), starts + 1);
    EXPECT_EQ(Shown(LeftButton), "Abbruch");
    EXPECT_EQ(Shown(BodyText), "A");
    EXPECT_TRUE(Surface().IsTimerRunning());
    EXPECT_EQ(State().g_stopwatchRunning, 1);
    EXPECT_EQ(State().g_stopwatchSeconds, 60);
}

TEST_F(StopwatchTest, TicksGoOnWhileAMessageBoxIsOpen)
{
    Write("Liste.lst", Joined({":3", "A;", "*fehlt.png", ":", "B;"}));
    OpenTopic();
    Surface().SetMessageBoxHandler([&](const Text&) { Surface().Tick(); });
    ChooseList("Liste.lst");
    Press("R"); // the tick inside the picture's box raises the flag before the check line
    EXPECT_EQ(Shown(Heading), "Stoppuhr: 2");
    EXPECT_EQ(Shown(BodyText), Warning(""));
    EXPECT_EQ(State().g_currentLine, 3);
}

TEST_F(StopwatchTest, TickFromTheLowerLimitEndsIt)
{
    StartList({":-2147483648", "A;"});
    EXPECT_EQ(State().g_stopwatchSeconds, -2147483647 - 1);
    Press("T");
    EXPECT_FALSE(Surface().IsTimerRunning());
    EXPECT_EQ(State().g_stopwatchRunning, 0);
}
} // namespace
