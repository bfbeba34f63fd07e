// One pass of the runner: what each kind of line does to the first screen of a list, what a
// pass leaves behind for the buttons, pictures, further text files and the faults of a list.
#include "RunnerTestSupport.h"

namespace
{
using namespace RunnerTest;
using namespace ControlId;

struct ScreenCase
{
    const char* name;
    Lines lines;
    RunnerScreen screen; // the first screen of the list
};

void PrintTo(const ScreenCase& c, std::ostream* out)
{
    *out << c.name;
}

class FirstScreenTest : public CRunnerTest, public testing::WithParamInterface<ScreenCase>
{
};

TEST_P(FirstScreenTest, ShowsTheStep)
{
    StartList(GetParam().lines);
    EXPECT_EQ(Screen(), GetParam().screen);
    EXPECT_EQ(Messages(), std::vector<Text>{});
}

RunnerScreen Headed(Text heading, Text subHeading, Text body)
{
    return {std::move(heading),
            std::move(subHeading),
            std::move(body),
            "Abbruch",
            Hidden,
            "Weiter",
            false};
}

RunnerScreen QuestionOnFirstScreen(Text body)
{
    return {Title, SubMenuHeading, std::move(body), "Ende", "Nein", "Ja", false};
}

INSTANTIATE_TEST_SUITE_P(
    LineKinds, FirstScreenTest,
    testing::Values(
        ScreenCase{"TextLinesCommaAndStepEnd", {"A", "B,", "C;"}, StepScreen("A\nB\nC")},
        ScreenCase{"OnlySemicolonEndsWithoutText", {";", "Nie;"}, StepScreen("")},
        ScreenCase{"OnlyQuestionMarkAsks", {"?", "n/j", "%n", "%j"}, QuestionOnFirstScreen("?")},
        ScreenCase{"QuestionWithTextBefore",
                   {"A", "Alles gut?", "n/j", "%n", "%j"},
                   QuestionOnFirstScreen("A\nAlles gut?")},
        ScreenCase{"CommaShowsQuestionMark", {"Frage?,", "Weiter;"}, StepScreen("Frage?\nWeiter")},
        ScreenCase{"CommaShowsSemicolon", {"Satz;,", "X;"}, StepScreen("Satz;\nX")},
        ScreenCase{"OnlyCommaIsEmptyLine", {",", "A;"}, StepScreen("\nA")},
        ScreenCase{
            "CommentBlankAndLabelPassedOver", {"#Notiz;", "", "%marke;", "A;"}, StepScreen("A")},
        ScreenCase{
            "HeadingWinsOverQuestionMark", {"$Kopf?", "A;"}, Headed("Kopf?", SubMenuHeading, "A")},
        ScreenCase{
            "SubHeadingUntrimmed", {"! Unter kopf ", "A;"}, Headed(Title, " Unter kopf ", "A")},
        ScreenCase{"OnlyDollarEmptiesHeading", {"$", "A;"}, Headed("", SubMenuHeading, "A")},
        ScreenCase{"LastHeadingOfThePassStands",
                   {"$Eins", "!Zwei", "$Drei", "A;"},
                   Headed("Drei", "Zwei", "A")},
        ScreenCase{"FirstLineUntrimmedIsText", {"  $Kopf", "A;"}, StepScreen("  $Kopf\nA")},
        ScreenCase{"LaterLinesTrimmed",
                   {"A", "  $Kopf  ", "  B;  "},
                   Headed("Kopf", SubMenuHeading, "A\nB")},
        ScreenCase{"FirstLineTrailingSpaceIsText", {"B; ", "C;"}, StepScreen("B; \nC")},
        ScreenCase{
            "TabsAreNotTrimmed", {"A", "\t$Kopf", "B;\t", "C;"}, StepScreen("A\n\t$Kopf\nB;\t\nC")},
        ScreenCase{"Windows1252Umlauts",
                   {"Br\xFC"
                    "cke pr\xFC"
                    "fen \xDF;"},
                   StepScreen("Brücke prüfen ß")},
        ScreenCase{"JumpKeepsTextBefore",
                   {"Vorher", "@ziel", "Nie;", "%ziel", "Nachher;"},
                   StepScreen("Vorher\nNachher")},
        ScreenCase{
            "JumpAndLabelNamesTrimmed", {"@ ziel ", "Nie;", "%  ziel  ", "Da;"}, StepScreen("Da")},
        ScreenCase{
            "JumpBackwards", {"@vor", "%zurueck", "Da;", "%vor", "@zurueck"}, StepScreen("Da")},
        ScreenCase{"FirstOfTwoLabels",
                   {"@ziel", "%ziel", "Erste;", "%ziel", "Zweite;"},
                   StepScreen("Erste")},
        ScreenCase{"LabelsAreCaseSensitive",
                   {"@Ziel", "%ziel", "klein;", "%Ziel", "gross;"},
                   StepScreen("gross")},
        ScreenCase{"LabelWithInnerSpaces",
                   {"@zwei worte", "%zwei  worte", "Nie;", "%zwei worte", "Da;"},
                   StepScreen("Da")},
        ScreenCase{"OnlyAtEndsTheList", {"A", "@", "Nie;"}, EndScreen("Zurück")},
        ScreenCase{"NoStepAtAll", {"$Kopf", "Text", "noch Text"}, EndScreen("Zurück", "Kopf")},
        ScreenCase{"CheckLineWithoutStopwatchSkipped", {":", "A;"}, StepScreen("A")}),
    [](const auto& info) { return std::string(info.param.name); });

struct PassCase
{
    const char* name;
    Lines lines;
    RunnerPlace place;
    Text bodyText; // g_bodyText
};

void PrintTo(const PassCase& c, std::ostream* out)
{
    *out << c.name;
}

class PassEndTest : public CRunnerTest, public testing::WithParamInterface<PassCase>
{
};

TEST_P(PassEndTest, LeavesStateForTheButtons)
{
    Write("bild.png", "PICTURE 200x260");
    StartList(GetParam().lines);
    EXPECT_EQ(Place(), GetParam().place);
    EXPECT_EQ(State().g_bodyText, GetParam().bodyText);
}

INSTANTIATE_TEST_SUITE_P(
    Endings, PassEndTest,
    testing::Values(
        PassCase{"StepEnd",
                 {"A", "B;", "C;"},
                 {1, 1, ScreenState::Step, ViewMode::ListStep, LeftButtonMode::LeaveList, false},
                 "A\nB"},
        PassCase{"QuestionStandsOnTargets",
                 {"A", "F?", "n/j", "%n", "%j"},
                 {2, 1, ScreenState::Question, ViewMode::ListQuestion,
                  LeftButtonMode::QuestionScreen, true},
                 "A\nF?"},
        PassCase{
            "PictureStandsOnItsLine",
            {"A", "*bild.png", "B;"},
            {1, 0, ScreenState::Picture, ViewMode::ListPicture, LeftButtonMode::LeaveList, false},
            "A\n"},
        // Text after the last step end is kept although the closing words hide it.
        PassCase{"EndOfList",
                 {"A", "B"},
                 {2, 0, ScreenState::End, ViewMode::ListStep, LeftButtonMode::LeaveList, false},
                 "A\nB\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class RunnerStepsTest : public CRunnerTest
{
};

TEST_F(RunnerStepsTest, BackIsOfferedFromTheSecondStepOn)
{
    StartList({"A;", "B;", "C;"});
    EXPECT_EQ(Screen(), StepScreen("A"));
    EXPECT_EQ(State().g_stepCounter, 1);
    Press("R");
    EXPECT_EQ(Screen(), StepScreen("B", "Zurück"));
    EXPECT_EQ(State().g_stepCounter, 3);
    Press("R");
    EXPECT_EQ(Screen(), StepScreen("C", "Zurück"));
    Press("R");
    EXPECT_EQ(Screen(), EndScreen("Zurück"));
    EXPECT_EQ(Place(), (RunnerPlace{3, 6, ScreenState::End, ViewMode::ListStep,
                                    LeftButtonMode::LeaveList, false}));
}

TEST_F(RunnerStepsTest, QuestionBlocksBackUntilTheListEnds)
{
    StartList({"A;", "F?", "n/j", "%n", "%j", "B;", "C"});
    Press("R");
    EXPECT_EQ(Screen(),
              (RunnerScreen{Title, SubMenuHeading, "F?", "Zum Anfang", "Nein", "Ja", false}));
    EXPECT_EQ(State().g_stepCounter, 3);
    Press("R"); // Ja
    EXPECT_EQ(Screen(), StepScreen("B"));
    Press("R");
    EXPECT_EQ(Screen(), EndScreen(Hidden));
}

TEST_F(RunnerStepsTest, TargetsAreLabelLinePlusOneNeinFirst)
{
    // Everything after the first "/" names the JA label, further "/" included.
    StartList({"F?", "  nein  /  ja / mehr  ", "%ja / mehr", "J;", "%nein", "N;"});
    EXPECT_EQ(State().g_noTarget, 5);
    EXPECT_EQ(State().g_yesTarget, 3);
    Press("C");
    EXPECT_EQ(Screen(), StepScreen("N"));
    EXPECT_EQ(State().g_currentLine, 5);
}

TEST_F(RunnerStepsTest, PicturesAreScaledOnlyWhenBothSidesDiffer)
{
    const std::vector<std::pair<std::string, std::pair<int, int>>> cases = {
        {"200x300", {200, 300}}, {"240x260", {240, 260}}, {"200x260", {200, 260}},
        {"320x240", {200, 260}}, {"100x100", {200, 260}}, {"199x261", {200, 260}},
    };
    for (const auto& [size, shown] : cases)
    {
        Write("bild.png", "PICTURE " + size);
        StartList({"A", "*bild.png", "B;"});
        EXPECT_EQ(Screen(), (RunnerScreen{Hidden, Hidden, Hidden, Hidden, Hidden, Hidden, true}))
            << size;
        const auto picture = ShownPicture();
        ASSERT_NE(picture, nullptr) << size;
        EXPECT_EQ(picture->SourceFile(), TopicFolder() + "bild.png");
        EXPECT_EQ(std::pair(picture->Width(), picture->Height()), shown) << size;
        EXPECT_EQ(State().g_picturePath, "bild.png");
    }
}

TEST_F(RunnerStepsTest, PictureFaultsAreReportedAndThePassGoesOn)
{
    Write("text.png", "kein Bild");
    const std::vector<std::pair<Lines, Text>> cases = {
        {{"Vorher", "*", "Nachher;"}, "Kein Bilddatei in Liste angegeben"},
        {{"*   ", "Vorher", "Nachher;"}, "Kein Bilddatei in Liste angegeben"},
        {{"Vorher", "*fehlt.png", "Nachher;"},
         "Bild konnte nicht geladen werden\n" + TopicFolder() + "fehlt.png"},
        {{"Vorher", "* text.png ", "Nachher;"},
         "Bild konnte nicht geladen werden\n" + TopicFolder() + "text.png"},
    };
    for (const auto& [lines, message] : cases)
    {
        StartList(lines);
        EXPECT_EQ(Messages(), std::vector<Text>{message}) << lines[1];
        EXPECT_EQ(Screen(), StepScreen("Vorher\nNachher")) << lines[1];
    }
}

TEST_F(RunnerStepsTest, HeadingLineWritesTheStaticAtOnce)
{
    Write("bild.png", "PICTURE 200x260");
    StartList({"$Neu", "!Unter", "*bild.png"});
    EXPECT_FALSE(m_dialog->IsShown(Heading));
    EXPECT_EQ(m_dialog->ControlText(Heading), "Neu");
    EXPECT_EQ(m_dialog->ControlText(SubHeading), "Unter");
    EXPECT_EQ(State().g_headingText, "Neu");
    EXPECT_EQ(State().g_subHeadingText, "Unter");
}

TEST_F(RunnerStepsTest, HeadingIsWrittenBeforeLaterLinesOfThePass)
{
    Write("Liste.lst", Joined({"$Kopf", "!Unterkopf", "*fehlt.png", "A;"}));
    OpenTopic();
    std::vector<Text> seen;
    Surface().SetMessageBoxHandler(
        [&](const Text&) {
            seen = {m_dialog->ControlText(Heading), m_dialog->ControlText(SubHeading)};
        });
    ChooseList("Liste.lst");
    EXPECT_EQ(seen, (std::vector<Text>{"Kopf", "Unterkopf"}));
}

TEST_F(RunnerStepsTest, FurtherTextFileReplacesTheStore)
{
    Write("text.txt", Joined({"  $Kopf", "Nachher;", "Danach;"}));
    StartList({"Vorher", "\xA7 text.txt ", "Nie;"});
    // The loaded file's first line is trimmed like any later line of the pass.
    EXPECT_EQ(Screen(), Headed("Kopf", SubMenuHeading, "Vorher\nNachher"));
    EXPECT_EQ(StoreLines(), (std::vector<Text>{"  $Kopf", "Nachher;", "Danach;"}));
    EXPECT_EQ(State().g_currentLine, 1);
    Press("RR");
    EXPECT_EQ(Screen(), EndScreen("Zurück", "Kopf"));
    EXPECT_EQ(State().g_currentLine, 3);
}

TEST_F(RunnerStepsTest, FurtherTextFileRestartsTheCounterAndLiftsTheBackBlock)
{
    Write("text.txt", Joined({"B;", "C;"}));
    StartList({"F?", "n/j", "%n", "%j", "A;", "\xA7text.txt"});
    Press("R");
    EXPECT_EQ(Screen(), StepScreen("A"));
    Press("R");
    EXPECT_EQ(Screen(), StepScreen("B"));
    EXPECT_FALSE(State().g_backBlocked);
    EXPECT_EQ(State().g_stepCounter, 1);
    Press("R");
    EXPECT_EQ(Screen(), StepScreen("C", "Zurück"));
}

TEST_F(RunnerStepsTest, FurtherTextFileThatCannotBeOpened)
{
    Text subHeadingAtMessage;
    Write("Liste.lst", Joined({"A",
                               "\xA7"
                               "fehlt.txt",
                               "Nie;"}));
    OpenTopic();
    Surface().SetMessageBoxHandler([&](const Text&)
                                   { subHeadingAtMessage = m_dialog->ControlText(SubHeading); });
    ChooseList("Liste.lst");
    EXPECT_EQ(Messages(),
              std::vector<Text>{"Laut Liste sollte eine Textdatei nachgeladen werden. Diese "
                                "wurde nicht gefunden!\nAbbruch!"});
    EXPECT_EQ(subHeadingAtMessage, TopicFolder() + "fehlt.txt");
    EXPECT_EQ(Screen(), EndScreen("Zurück", Title, TopicFolder() + "fehlt.txt"));
    EXPECT_EQ(StoreLines(), (std::vector<Text>{"A",
                                               "\xC2\xA7"
                                               "fehlt.txt",
                                               "Nie;"}));
    EXPECT_EQ(State().g_currentLine, 3);
}

TEST_F(RunnerStepsTest, FurtherTextFileEmptyOrLong)
{
    Write("leer.txt", "");
    StartList({"A", "\xA7leer.txt", "Nie;"});
    EXPECT_EQ(Screen(), EndScreen("Zurück"));
    EXPECT_EQ(StoreLines(), std::vector<Text>{});

    // Past the first chunk of 50000 bytes, up to the very last byte.
    std::string longText;
    for (int i = 0; i < 6000; ++i)
        longText += "#Kommentar\r\n";
    Write("lang.txt", longText + "Z;");
    StartList({"\xA7lang.txt"});
    EXPECT_EQ(Screen(), StepScreen("Z"));
    EXPECT_EQ(State().g_currentLine, 6000);
}

struct FaultCase
{
    const char* name;
    Lines lines;
    Text message;
    std::int32_t line;  // g_currentLine, as the fault left it
    ScreenState screen; // g_screenState, as the fault left it
};

void PrintTo(const FaultCase& c, std::ostream* out)
{
    *out << c.name;
}

class GraveFaultTest : public CRunnerTest, public testing::WithParamInterface<FaultCase>
{
};

TEST_P(GraveFaultTest, ReportsAndLeadsBackToTheSubMenu)
{
    StartList(GetParam().lines);
    EXPECT_EQ(Messages(), std::vector<Text>{GetParam().message});
    ExpectSubMenuPageOne();
    EXPECT_EQ(StoreLines(), std::vector<Text>{"Liste.lst"});
    EXPECT_EQ(State().g_currentLine, GetParam().line);
    EXPECT_EQ(State().g_screenState, GetParam().screen);
    EXPECT_FALSE(State().g_backBlocked);
}

const Text MissingYes = "Die Sprungmarke für JA konnte nicht gefunden werden!\n Liste abgebrochen!";
const Text MissingNo =
    "Die Sprungmarke für NEIN konnte nicht gefunden werden!\n Liste abgebrochen!";
const Text NoSlash =
    "Es müssen zwei Sprungmakren in der Liste stehen JA/NEIN mit / getrennt!\n Liste "
    "wird abgebrochen!";

INSTANTIATE_TEST_SUITE_P(
    Faults, GraveFaultTest,
    testing::Values(
        FaultCase{"JumpToMissingLabel", {"A", "@fehlt", "B;"}, MissingYes, 1, ScreenState::Step},
        FaultCase{"LabelWithLeadingSpaceIsNotFound",
                  {"@x", "Nie;", " %x", "Da;"},
                  MissingYes,
                  0,
                  ScreenState::Step},
        FaultCase{"TargetsWithoutSlash",
                  {"A", "F?", "nein ja", "%nein", "%ja"},
                  NoSlash,
                  2,
                  ScreenState::Question},
        FaultCase{"MissingNoLabel", {"F?", "fehlt/ja", "%ja"}, MissingNo, 1, ScreenState::Question},
        FaultCase{"OnlyNoReportedWhenBothMissing",
                  {"F?", "fehlt/auch"},
                  MissingNo,
                  1,
                  ScreenState::Question},
        FaultCase{"MissingYesLabel",
                  {"F?", "nein/fehlt", "%nein"},
                  MissingYes,
                  1,
                  ScreenState::Question}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunnerStepsTest, QuestionInTheLastLine)
{
    StartList({"A;", "Weiter?"});
    Press("R");
    EXPECT_EQ(Messages(),
              std::vector<Text>{"Als letzte Zeile wurde eine Auswahl in die Liste geschrieben. "
                                "Die Sprungziele fehlen"});
    EXPECT_EQ(Screen(),
              (RunnerScreen{Title, SubMenuHeading, "Weiter?", "Zum Anfang", "Nein", "Ja", false}));
    EXPECT_EQ(Place(), (RunnerPlace{0, 3, ScreenState::Question, ViewMode::ListQuestion,
                                    LeftButtonMode::QuestionScreen, true}));
    EXPECT_EQ(State().g_bodyText, "Weiter?");
}

TEST_F(RunnerStepsTest, StartLineAddsNoTextAndDoesNotEndTheStep)
{
    StartList({"A", ":60 Lok", "B;"});
    EXPECT_EQ(Screen(), StepScreen("A\nB"));
    EXPECT_TRUE(Surface().IsTimerRunning());
}
} // namespace
