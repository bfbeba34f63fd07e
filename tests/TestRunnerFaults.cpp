// Lists that would make a careless runner read outside its lines, loop for ever, block on a
// file or leave the program folder; and the answers and warnings whose buttons must act as
// they read.
#include "RunnerTestSupport.h"

#include <sys/stat.h>

using namespace std::string_literals;

namespace
{
using namespace RunnerTest;
using namespace ControlId;

const Text Endless = "Die Liste enthält eine Endlosschleife!\n Liste abgebrochen!";
const Text TextFileMissing =
    "Laut Liste sollte eine Textdatei nachgeladen werden. Diese wurde nicht gefunden!\nAbbruch!";
const Text PictureMissing = "Bild konnte nicht geladen werden\n";

class RunnerFaultsTest : public CRunnerTest
{
};

struct BytesCase
{
    const char* name;
    std::string bytes;
    std::vector<Text> lines;
    Text bodyText; // g_bodyText after the first pass
};

void PrintTo(const BytesCase& c, std::ostream* out)
{
    *out << c.name;
}

class ListBytesTest : public CRunnerTest, public testing::WithParamInterface<BytesCase>
{
};

TEST_P(ListBytesTest, GiveTheseLines)
{
    StartListOfBytes(GetParam().bytes);
    EXPECT_EQ(StoreLines(), GetParam().lines);
    EXPECT_EQ(State().g_bodyText, GetParam().bodyText);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ListBytesTest,
    testing::Values(
        BytesCase{"LineFeedsOnly", Joined({"A;", "B;"}, "\n"), {"A;", "B;"}, "A"},
        BytesCase{"CarriageReturnsOnly", "A\rB;\rC;", {"A", "B;", "C;"}, "A\nB"},
        BytesCase{"NoLineEndAtAll", "A;B;C", {"A;B;C"}, "A;B;C\n"},
        BytesCase{"LastLineOfOneCharacterKept", "A\r\nB", {"A", "B"}, "A\nB\n"},
        BytesCase{"LastLineKeepsItsLastByte", "Text\r\nEnde;", {"Text", "Ende;"}, "Text\nEnde"},
        BytesCase{
            "ZeroBytesDroppedSingly", "La\0ng\0er Text;\r\n"s, {"Langer Text;"}, "Langer Text"},
        BytesCase{"Utf8",
                  "Br\xC3\xBC"
                  "cke;\r\n",
                  {"Brücke;"},
                  "Brücke"},
        BytesCase{"Utf8WithByteOrderMark",
                  "\xEF\xBB\xBF"
                  "A;\r\n\xC3\x9F;",
                  {"A;", "ß;"},
                  "A"},
        BytesCase{"Windows1252", "\x80 \xA7;", {"€ §;"}, "€ §"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunnerFaultsTest, BinaryBytesKeepTheRunnerInsideItsLines)
{
    std::string bytes;
    for (int round = 0; round < 4; ++round)
        for (int byte = 0; byte < 256; ++byte)
            bytes += static_cast<char>((byte * 7 + round) % 256);
    StartListOfBytes(bytes);
    for (int press = 0; press < 30; ++press)
    {
        const auto view = State().g_viewMode;
        if (view == ViewMode::SubMenu)
            break;
        EXPECT_GE(State().g_currentLine, 0);
        EXPECT_LE(State().g_currentLine, static_cast<std::int32_t>(StoreLines().size()));
        Press(press % 3 == 2 ? "C" : "R");
    }
    EXPECT_FALSE(Surface().HasEnded());
}

TEST_F(RunnerFaultsTest, BackOnTheFirstLineStartsOver)
{
    StartList({"A;", "B;"});
    Press("C"); // the button is hidden there, but a press must not read line -1
    EXPECT_EQ(Screen(), StepScreen("A"));
    EXPECT_EQ(Place(), (RunnerPlace{0, 1, ScreenState::Step, ViewMode::ListStep,
                                    LeftButtonMode::LeaveList, false}));
}

TEST_F(RunnerFaultsTest, AnswersWithoutTargetsStartOverAtLineZero)
{
    for (const char* answer : {"R", "C"})
    {
        StartList({"A;", "Weiter?"});
        Press("R");
        EXPECT_EQ(State().g_yesTarget, 0);
        EXPECT_EQ(State().g_noTarget, 0);
        Press(answer);
        EXPECT_EQ(Screen(), StepScreen("A")) << answer;
        EXPECT_EQ(Place(), (RunnerPlace{0, 4, ScreenState::Step, ViewMode::ListStep,
                                        LeftButtonMode::LeaveList, true}));
    }
}

TEST_F(RunnerFaultsTest, TargetsOfAnEarlierQuestionAreNotUsed)
{
    // Before the last-line question, "Nein" pointed at line 2.
    StartList({"Q1?", "n/j", "%n", "%j", "A;", "Q2?"});
    Press("RR");
    EXPECT_EQ(Messages().size(), 1u);
    Press("C");
    EXPECT_EQ(Shown(BodyText), "Q1?");
    EXPECT_EQ(State().g_currentLine, 1);
}

TEST_F(RunnerFaultsTest, TargetsAreClearedByANewListAndByATextFile)
{
    Write("Zwei.lst", Joined({"A;"}));
    StartList({"Q?", "n/j", "%n", "%j"});
    EXPECT_EQ(std::pair(State().g_noTarget, State().g_yesTarget), std::pair(3, 4));
    Press("L");
    ChooseList("Zwei.lst");
    EXPECT_EQ(std::pair(State().g_noTarget, State().g_yesTarget), std::pair(0, 0));

    Write("t.txt", "T;");
    StartList({"Q?", "n/j", "%n", "%j", "\xA7t.txt"});
    Press("R");
    EXPECT_EQ(Shown(BodyText), "T");
    EXPECT_EQ(std::pair(State().g_noTarget, State().g_yesTarget), std::pair(0, 0));
}

struct LoopCase
{
    const char* name;
    Lines lines;
    std::vector<std::pair<std::string, std::string>> files;
};

void PrintTo(const LoopCase& c, std::ostream* out)
{
    *out << c.name;
}

class EndlessPassTest : public CRunnerTest, public testing::WithParamInterface<LoopCase>
{
};

TEST_P(EndlessPassTest, EndsWithAMessage)
{
    CHangGuard guard;
    for (const auto& [name, bytes] : GetParam().files)
        Write(name, bytes);
    StartList(GetParam().lines);
    EXPECT_EQ(Messages(), std::vector<Text>{Endless});
    ExpectSubMenuPageOne();
    ExpectStopwatchCancelled();
}

INSTANTIATE_TEST_SUITE_P(
    Loops, EndlessPassTest,
    testing::Values(
        LoopCase{"JumpToItsOwnLabel", {":60", "%a", "@a"}, {}},
        LoopCase{"JumpLoopOverText", {":60", "%a", "Text", "@a", "Nie;"}, {}},
        LoopCase{"TwoLabels", {":60", "@b", "%a", "@b", "%b", "@a"}, {}},
        LoopCase{"TextFileLoadsItself", {":60", "\xA7t.txt"}, {{"t.txt", "Text\r\n\xA7t.txt"}}},
        LoopCase{"TwoTextFilesLoadEachOther",
                 {":60", "\xA7"
                         "a.txt"},
                 {{"a.txt", "\xA7"
                            "b.txt"},
                  {"b.txt", "\xA7"
                            "a.txt"}}},
        LoopCase{"SameFileUnderAnotherName", {":60", "\xA7t.txt"}, {{"t.txt", "\xA7T.TXT"}}},
        LoopCase{"ListLoadsItself", {":60", "\xA7Liste.lst"}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunnerFaultsTest, RepeatsAcrossPassesAreNoLoop)
{
    StartList({"%a", "A;", "@a"});
    for (int round = 0; round < 3; ++round)
    {
        Press("R");
        EXPECT_EQ(Screen(), StepScreen("A", "Zurück"));
    }
    Write("t.txt", Joined({"B;", "\xA7t.txt"}));
    StartList({"\xA7t.txt"});
    for (int round = 0; round < 3; ++round)
    {
        EXPECT_EQ(Screen(), StepScreen("B"));
        Press("R");
    }
    EXPECT_EQ(Messages(), std::vector<Text>{});
}

TEST_F(RunnerFaultsTest, WarningAfterAnAnswerActsAsItsButtonsRead)
{
    const Lines lines = {"A;", ":60", "F?", "n/j", "%n", ":", "N;", "%j", ":", "J;"};
    const Text warning =
        "Achtung!\n Die Stoppuhr  ist noch nicht abgelaufen. Für den nächsten Schritt "
        "bitte auf die Zeit achten!";
    for (const auto& [answer, checkLine, next] : {std::tuple("R", 8, "J"), std::tuple("C", 5, "N")})
    {
        StartList(lines);
        Press("RT");
        Press(answer);
        EXPECT_EQ(Shown(BodyText), warning) << answer;
        EXPECT_EQ(Place(), (RunnerPlace{checkLine, 3, ScreenState::Step, ViewMode::ListStep,
                                        LeftButtonMode::LeaveList, true}));
        Press("R");
        EXPECT_EQ(Shown(BodyText), next) << answer;
        EXPECT_EQ(State().g_currentLine, checkLine + 1);

        StartList(lines);
        Press("RT");
        Press(answer);
        Press("L");
        ExpectSubMenuPageOne();
        ExpectStopwatchCancelled();
    }

    // After "Zum Anfang" the pass starts on a check line.
    StartList({":", "A;", ":60 Lok", "B;", "F?", "n/j", "%n", "%j"});
    Press("RTRL");
    EXPECT_EQ(Place(), (RunnerPlace{0, 0, ScreenState::Step, ViewMode::ListStep,
                                    LeftButtonMode::LeaveList, true}));
    Press("R");
    EXPECT_EQ(Shown(BodyText), "A");
}

TEST_F(RunnerFaultsTest, GraveFaultsCancelTheStopwatch)
{
    const std::vector<Lines> cases = {
        {":60", "A;", "@fehlt"},
        {":60", "A;", "F?", "ohne Schraegstrich"},
        {":60", "A;", "F?", "fehlt/j", "%j"},
        {":60", "A;", "F?", "n/fehlt", "%n"},
    };
    for (const auto& lines : cases)
    {
        StartList(lines);
        Press("TR");
        EXPECT_EQ(Messages().size(), 1u) << lines[2];
        ExpectSubMenuPageOne();
        ExpectStopwatchCancelled();
        EXPECT_FALSE(Surface().Tick());
    }
}

TEST_F(RunnerFaultsTest, LabelsAndTargetsOfOddNames)
{
    StartList({"@frage?", "Nie;", "%frage?", "Da;"});
    EXPECT_EQ(Screen(), StepScreen("Da"));

    StartList({"F?", "/", "A;"}); // an empty NEIN name finds no label
    EXPECT_EQ(Messages(),
              std::vector<Text>{"Die Sprungmarke für NEIN konnte nicht gefunden werden!\n "
                                "Liste abgebrochen!"});

    StartList({"F?", "/", "%", "Leer;"});
    EXPECT_EQ(std::pair(State().g_noTarget, State().g_yesTarget), std::pair(3, 3));
    Press("R");
    EXPECT_EQ(Shown(BodyText), "Leer");
}

TEST_F(RunnerFaultsTest, FilesThatAreNoRegularFiles)
{
    CHangGuard guard;
    m_root.MakeFolder("Thema/ordner.txt");
    ASSERT_EQ(mkfifo(TopicPath("fifo.txt").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(TopicPath("fifo.png").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", TopicPath("null.txt"));
    std::filesystem::create_symlink("/dev/zero", TopicPath("null.png"));
    for (const char* name : {"ordner.txt", "fifo.txt", "null.txt"})
    {
        StartList({"A", "\xA7"s + name, "Nie;"});
        EXPECT_EQ(Messages(), std::vector<Text>{TextFileMissing}) << name;
        EXPECT_EQ(Screen(), EndScreen("Zurück", Title, TopicFolder() + name));
    }
    for (const char* name : {"fifo.png", "null.png"})
    {
        StartList({"A", "*"s + name, "B;"});
        EXPECT_EQ(Messages(), std::vector<Text>{PictureMissing + TopicFolder() + name}) << name;
        EXPECT_EQ(Screen(), StepScreen("A\nB"));
    }
}

TEST_F(RunnerFaultsTest, NamesStayInsideTheProgramFolder)
{
    m_programSubfolder = "programm/";
    m_root.Write("geheim.txt", "Geheim;");
    m_root.Write("geheim.png", "PICTURE 200x260");
    m_root.Write("programm/oben.txt", "Oben;");

    StartList({"\xA7..\\..\\geheim.txt", "Nie;"});
    EXPECT_EQ(Messages(), std::vector<Text>{TextFileMissing});
    EXPECT_EQ(Screen(), EndScreen("Zurück", Title, TopicFolder() + "../../geheim.txt"));

    StartList({"*../../geheim.png", "A;"});
    EXPECT_EQ(Messages(), std::vector<Text>{PictureMissing + TopicFolder() + "../../geheim.png"});
    EXPECT_EQ(Screen(), StepScreen("A"));

    StartList({"\xA7..\\oben.txt"}); // up from the topic, still inside
    EXPECT_EQ(Screen(), StepScreen("Oben"));

    StartList({"\xA7/etc/hostname", "Nie;"});
    EXPECT_EQ(Messages(), std::vector<Text>{TextFileMissing});

    // A link inside the program folder that leads out of it: what lies behind is not there.
    std::filesystem::create_directory_symlink(m_root.Path(), m_root.Path() / "programm/Thema/raus");
    std::filesystem::create_symlink(m_root.Path() / "geheim.txt",
                                    m_root.Path() / "programm/Thema/geheim.txt");
    for (const char* name : {"raus/geheim.txt", "geheim.txt", "RAUS/Geheim.txt"})
    {
        StartList({"\xA7"s + name, "Nie;"});
        EXPECT_EQ(Messages(), std::vector<Text>{TextFileMissing}) << name;
        EXPECT_EQ(Screen(), EndScreen("Zurück", Title, TopicFolder() + name)) << name;
    }
    StartList({"*raus/geheim.png", "A;"});
    EXPECT_EQ(Messages(), std::vector<Text>{PictureMissing + TopicFolder() + "raus/geheim.png"});
    // One that stays inside works as any folder.
    std::filesystem::create_directory_symlink(m_root.Path() / "programm",
                                              m_root.Path() / "programm/Thema/innen");
    StartList({"\xA7innen/oben.txt"});
    EXPECT_EQ(Screen(), StepScreen("Oben"));
}

TEST_F(RunnerFaultsTest, NamesWithBackslashesAndOtherCase)
{
    Write("texte/teil2.txt", "Teil2;");
    Write("bild.png", "PICTURE 200x300");
    Write("Bild.png", "PICTURE 100x100");
    Write("foto.png", "PICTURE 240x260");

    StartList({"\xA7texte\\teil2.txt"});
    EXPECT_EQ(Screen(), StepScreen("Teil2"));
    StartList({"\xA7TEXTE\\Teil2.TXT"});
    EXPECT_EQ(Screen(), StepScreen("Teil2"));

    StartList({"\xA7texte\\fehlt.txt", "Nie;"});
    EXPECT_EQ(Messages(), std::vector<Text>{TextFileMissing});
    EXPECT_EQ(Shown(SubHeading), TopicFolder() + "texte/fehlt.txt");

    const std::vector<std::tuple<const char*, const char*, int>> pictures = {
        {"bild.png", "bild.png", 300},
        {"Bild.png", "Bild.png", 260},
        {"FOTO.PNG", "foto.png", 260}};
    for (const auto& [written, file, height] : pictures)
    {
        StartList({"*"s + written, "A;"});
        ASSERT_NE(ShownPicture(), nullptr) << written;
        EXPECT_TRUE(std::filesystem::equivalent(ShownPicture()->SourceFile(), TopicPath(file)))
            << written;
        EXPECT_EQ(ShownPicture()->Height(), height) << written;
        EXPECT_EQ(State().g_picturePath, written);
    }
}
} // namespace
