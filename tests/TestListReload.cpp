// Reading the list on the screen again after its file changed: where the driver lands, what
// the heading says, and what happens to faults, a vanished file, the stopwatch and open boxes.
#include "RunnerTestSupport.h"
#include "app/DialogTexts.h"
#include "platform/FileChangeMonitor.h"
#include "runner/ListJourney.h"

#include <filesystem>
#include <fstream>

namespace
{
using namespace RunnerTest;
using namespace ControlId;

class ListReloadTest : public CRunnerTest
{
protected:
    // Writes the list anew, reads it again and checks the outcome.
    void Edit(const Lines& lines, ReloadOutcome expected = ReloadOutcome::Reloaded)
    {
        Write("Liste.lst", Joined(lines));
        EXPECT_EQ(m_dialog->Dialog().ReloadList(), expected);
    }
    CMainDialog& Dialog() { return m_dialog->Dialog(); }
};

const Lines FourSteps = {"Eins;", "Zwei;", "Drei;", "Vier;"};

const Lines Question = {"Vorher;", "Druck gut?", "nein/ja",       "%nein", "Druck pruefen;",
                        "@ende",   "%ja",        "Weiterfahren;", "%ende"};

TEST_F(ListReloadTest, LandsOnTheSameStepNumberAfterEachKindOfEdit)
{
    const struct
    {
        const char* name;
        Lines before;
        const char* keys; // pressed before the edit
        Lines after;
        Text body; // shown after the reload
    } cases[] = {
        {"text of the step changed",
         FourSteps,
         "RR",
         {"Eins;", "Zwei;", "Drei neu;", "Vier;"},
         "Drei neu"},
        {"step added before",
         FourSteps,
         "RR",
         {"Null;", "Eins;", "Zwei;", "Drei;", "Vier;"},
         "Zwei"},
        {"step removed before", FourSteps, "RR", {"Eins;", "Drei;", "Vier;"}, "Vier"},
        {"list now shorter: its last step", FourSteps, "RRR", {"Eins;", "Zwei;"}, "Zwei"},
        {"back and forth counts as the way", FourSteps, "RRCRC", {"Eins;", "Zwo;", "Drei;"}, "Zwo"},
        {"answer Ja followed to its label", Question, "RR", Question, "Weiterfahren"},
        {"answer Nein followed to its label", Question, "RC", Question, "Druck pruefen"},
        {"labels moved: the answer goes where its label is now",
         Question,
         "RR",
         {"Vorher;", "Druck gut?", "nein/ja", "%ja", "Erst pruefen;", "@ende", "%nein",
          "Weiterfahren;", "%ende"},
         "Erst pruefen"},
        {"question turned into a step: stops on it",
         Question,
         "RRR",
         {"Vorher;", "Druck gut;", "Danach;"},
         "Druck gut"},
        {"a step turned into a question: stops on it, unanswered",
         FourSteps,
         "RRR",
         {"Eins;", "Zwei?", "a/b", "%a", "%b", "Drei;", "Vier;"},
         "Zwei?"},
        {"on the end screen of a list that grew",
         FourSteps,
         "RRRR",
         {"Eins;", "Zwei;", "Drei;", "Vier;", "Fuenf;"},
         "Fuenf"},
        {"on the end screen of a list that did not grow", FourSteps, "RRRR", FourSteps, EndText},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        m_root.Write("Thema/Liste.lst", Joined(test.before));
        OpenTopic();
        ChooseList("Liste.lst");
        Press(test.keys);
        Messages();
        Edit(test.after);
        EXPECT_EQ(Shown(BodyText), test.body);
        EXPECT_EQ(Shown(Heading), DialogText::ListReloaded);
        EXPECT_EQ(Messages(), std::vector<Text>{});
        Dialog().EndReloadNote();
        EXPECT_EQ(Shown(Heading), Title);
    }
}

TEST_F(ListReloadTest, TheNoteGivesWayToAPressButOutlastsATick)
{
    StartList({"$Kopf", ":60 Pause", "Eins;", "Zwei;", "Drei;"});
    Press("RTT");
    Edit({"$Kopf", ":60 Pause", "Eins;", "Zwei neu;", "Drei;"});
    EXPECT_EQ(Shown(Heading), DialogText::ListReloaded);
    Press("T");
    EXPECT_EQ(Shown(Heading), DialogText::ListReloaded);
    // The countdown went on under the note and is what the press uncovers.
    Press("R");
    EXPECT_EQ(Shown(Heading), "Stoppuhr für Pause57");
    EXPECT_EQ(Shown(BodyText), "Drei");
}

TEST_F(ListReloadTest, ARunningStopwatchKeepsItsTimeAndOneThatRanOutStaysOff)
{
    StartList({":5 Pause", "Eins;", "Zwei;", ":", "Drei;"});
    Press("TTR");
    Edit({":5 Pause", "Eins;", "Zwei neu;", ":", "Drei;"});
    EXPECT_EQ(Shown(BodyText), "Zwei neu");
    EXPECT_EQ(State().g_stopwatchSeconds, 3);
    EXPECT_TRUE(Surface().IsTimerRunning());
    Dialog().EndReloadNote();
    EXPECT_EQ(Shown(Heading), "Stoppuhr für Pause3");
    // While it runs, the check line on the way still warns.
    Press("R");
    EXPECT_NE(Shown(BodyText).find("noch nicht abgelaufen"), Text::npos) << Shown(BodyText);

    Press("TTT");
    ASSERT_FALSE(Surface().IsTimerRunning());
    Edit({":5 Pause", "Eins;", "Zwei;", ":", "Drei neu;"});
    ExpectStopwatchCancelled();
}

TEST_F(ListReloadTest, AFaultComesAtTheStepWhereItIsAndLeavesTheList)
{
    const Text yesMissing = DialogText::YesLabelMissing;
    const struct
    {
        const char* name;
        const char* keys;
        Lines after;
        std::vector<Text> messages;
    } cases[] = {
        {"a grave fault on the way",
         "RRR",
         {"Eins;", "Frage?", "nein/fehlt", "%nein", "Zwei;", "Drei;", "Vier;"},
         {yesMissing}},
        {"a grave fault on the step itself",
         "R",
         {"Eins;", "Frage?", "nein/fehlt", "%nein", "Zwei;"},
         {yesMissing}},
        {"a minor fault on the way",
         "RR",
         {"Eins;", "*fehlt.png", "Zwei;", "Drei;"},
         {Text(DialogText::PictureUnloadable) + TopicFolder() + "fehlt.png"}},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        StartList(FourSteps);
        Press(test.keys);
        Messages();
        const bool grave = test.messages.front() == yesMissing;
        Edit(test.after, grave ? ReloadOutcome::ListLeft : ReloadOutcome::Reloaded);
        EXPECT_EQ(Messages(), test.messages);
        if (grave)
            ExpectSubMenuPageOne();
        else
            EXPECT_EQ(Shown(BodyText), "Drei");
    }
}

TEST_F(ListReloadTest, AVanishedListLeavesTheScreenAndComesBack)
{
    StartList(FourSteps);
    Press("R");
    const RunnerScreen before = Screen();
    std::filesystem::remove(TopicPath("Liste.lst"));
    EXPECT_EQ(Dialog().ReloadList(), ReloadOutcome::ListUnreadable);
    EXPECT_EQ(Screen(), before);
    EXPECT_EQ(Messages(), std::vector<Text>{});
    Edit({"Eins;", "Zwei wieder;"});
    EXPECT_EQ(Shown(BodyText), "Zwei wieder");
}

TEST_F(ListReloadTest, NothingToReadOnMenusOrWhileABoxIsOpen)
{
    Write("Liste.lst", Joined({"Eins;", "*fehlt.png", "Zwei;"}));
    OpenTopic();
    EXPECT_EQ(Dialog().ReloadList(), ReloadOutcome::NoListOpen);
    EXPECT_EQ(Dialog().ListFiles(), std::vector<Text>{});

    std::optional<ReloadOutcome> duringBox;
    Surface().SetMessageBoxHandler([&](const Text&) { duringBox = Dialog().ReloadList(); });
    ChooseList("Liste.lst");
    Press("R");
    EXPECT_EQ(duringBox, ReloadOutcome::Busy);
    EXPECT_EQ(Shown(BodyText), "Zwei");
}

TEST_F(ListReloadTest, APictureIsShownAgainAndATextFileIsWatchedAndReadAgain)
{
    Write("bild.png", "PICTURE 200x260");
    Write("teil2.txt", "Teil zwei;\r\nTeil drei;\r\n");
    StartList({"Eins;", "*bild.png", "§teil2.txt"});
    Press("R");
    ASSERT_TRUE(m_dialog->IsShown(Picture));
    Edit({"Eins neu;", "*bild.png", "§teil2.txt"});
    EXPECT_EQ(Screen(), (RunnerScreen{Hidden, Hidden, Hidden, Hidden, Hidden, Hidden, true}));

    Press("PR");
    EXPECT_EQ(Shown(BodyText), "Teil drei");
    EXPECT_EQ(Dialog().ListFiles(),
              (std::vector<Text>{TopicFolder() + "Liste.lst", TopicFolder() + "teil2.txt"}));
    Write("teil2.txt", "Teil zwei;\r\nTeil drei neu;\r\n");
    EXPECT_EQ(Dialog().ReloadList(), ReloadOutcome::Reloaded);
    EXPECT_EQ(Shown(BodyText), "Teil drei neu");
}

TEST(ListJourney, BackTakesBackTheLastNextOnly)
{
    const struct
    {
        const char* name;
        std::vector<ListMove> recorded;
        std::vector<ListMove> kept;
    } cases[] = {
        {"forth and back", {ListMove::Next, ListMove::Next, ListMove::Back}, {ListMove::Next}},
        {"back after an answer stays",
         {ListMove::Yes, ListMove::Back},
         {ListMove::Yes, ListMove::Back}},
        {"back at the start stays", {ListMove::Back}, {ListMove::Back}},
    };
    for (const auto& test : cases)
    {
        CListJourney journey;
        for (const ListMove move : test.recorded)
            journey.Record(move);
        EXPECT_EQ(journey.Moves(), test.kept) << test.name;
    }
}

TEST(FileChangeMonitor, SeesEachKindOfSaveOnceItSettles)
{
    using namespace std::chrono_literals;
    const struct
    {
        const char* name;
        void (*save)(const std::filesystem::path&);
    } cases[] = {
        {"written in place", [](const std::filesystem::path& path)
         { std::ofstream(path, std::ios::app) << "mehr;\r\n"; }},
        {"renamed over",
         [](const std::filesystem::path& path)
         {
             std::ofstream(path.string() + ".neu") << "Eins;\r\n";
             std::filesystem::rename(path.string() + ".neu", path);
         }},
        {"removed", [](const std::filesystem::path& path) { std::filesystem::remove(path); }},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.name);
        CTemporaryFolder folder;
        const auto path = folder.Write("Liste.lst", "Eins;\r\n");
        CFileChangeMonitor monitor;
        EXPECT_TRUE(monitor.Watch({path.string()}));
        EXPECT_FALSE(monitor.Watch({path.string()}));
        const auto start = CFileChangeMonitor::Clock::now();
        EXPECT_FALSE(monitor.PollSettled(start));
        test.save(path);
        EXPECT_TRUE(monitor.HasChanged());
        EXPECT_FALSE(monitor.PollSettled(start + 50ms));
        EXPECT_FALSE(monitor.PollSettled(start + 100ms));
        EXPECT_TRUE(monitor.PollSettled(start + 250ms));
        monitor.TakeAsSeen();
        EXPECT_FALSE(monitor.HasChanged());
        EXPECT_FALSE(monitor.PollSettled(start + 500ms));
    }
}
} // namespace
