// `tavrino --text`: screens as text, keys that press the shown buttons, boxes confirmed by Enter;
// on a terminal, screens laid out for its size, a long body paged, the stopwatch updated in
// place.
#include "TestSupport.h"
#include "frontends/KeyParser.h"
#include "frontends/TerminalLayout.h"
#include "frontends/TerminalSequences.h"
#include "frontends/TerminalShell.h"
#include "frontends/TerminalText.h"
#include "platform/ControlId.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <thread>
#include <unistd.h>

namespace
{
using Lines = std::vector<Text>;

// A list started on the headless dialog: "Start", the topic, the list.
class CStartedList
{
public:
    explicit CStartedList(std::string_view list) : m_written(m_root.Write("Thema/Liste.lst", list))
    {
        m_harness = std::make_unique<CDialogHarness>(m_root.Folder());
        for (const int id :
             {ControlId::CentreButton, ControlId::MenuButton0, ControlId::MenuButton0})
            Surface().Click(id);
    }
    CHeadlessSurface& Surface() { return m_harness->Surface(); }

private:
    CTemporaryFolder m_root;
    std::filesystem::path m_written;
    std::unique_ptr<CDialogHarness> m_harness;
};

std::string FifteenItems()
{
    std::string list = "$Sichtprüfung\n";
    for (int item = 1; item <= 15; ++item)
        list += "Punkt " + std::to_string(item) + " prüfen" + (item == 15 ? ";\n" : "\n");
    return list;
}

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
    // Without a terminal the screen is 72 columns wide.
    for (const auto& line : SplitLines(screen))
        EXPECT_LE(DisplayWidth(line), 72u) << line;
}

TEST(Terminal, WrapsAtSpacesInCharactersAndCutsOnlyWordsWiderThanTheLine)
{
    const Text longWord(400, 'x');
    const Text umlautWord = []
    {
        Text word;
        for (int i = 0; i < 50; ++i)
            word += "ä";
        return word;
    }();
    struct Case
    {
        Text text;
        std::size_t width;
        Lines lines;
    };
    const Case cases[] = {
        {"Bremsprobe durchführen und Ergebnis eintragen",
         40,
         {"Bremsprobe durchführen und Ergebnis", "eintragen"}},
        {"Bremsprobe durchführen und Ergebnis eintragen",
         80,
         {"Bremsprobe durchführen und Ergebnis eintragen"}},
        // 29 characters in 35 bytes: still one line.
        {"Überprüfung äußerst gründlich", 29, {"Überprüfung äußerst gründlich"}},
        {"Überprüfung äußerst gründlich", 28, {"Überprüfung äußerst", "gründlich"}},
        {"Hauptluftbehälterleitung", 10, {"Hauptluftb", "ehälterlei", "tung"}},
        {"Kennung " + longWord + " Ende",
         80,
         {"Kennung", Text(80, 'x'), Text(80, 'x'), Text(80, 'x'), Text(80, 'x'), Text(80, 'x'),
          "Ende"}},
        {longWord, 40, Lines(10, Text(40, 'x'))},
        {umlautWord, 40, {umlautWord.substr(0, 80), umlautWord.substr(80)}},
        {"Tür zu\n\nWeiter", 40, {"Tür zu", "", "Weiter"}},
        {"Zeile\n", 40, {"Zeile", ""}},
        {"ab cd", 0, {"a", "b", "c", "d"}},
    };
    for (const auto& [text, width, lines] : cases)
    {
        EXPECT_EQ(WrapText(text, width), lines) << text << " at " << width;
        for (const Text& line : WrapText(text, width))
            EXPECT_LE(DisplayWidth(line), std::max<std::size_t>(width, 1)) << line;
    }
}

TEST(Terminal, ControlCharactersFromTextsArePrintedAsQuestionMarks)
{
    struct Case
    {
        std::string text;
        LineFeeds lineFeeds;
        Text shown;
    };
    const Case cases[] = {
        {"Titel\x1b]0;x\x07", LineFeeds::BreakLines, "Titel?]0;x?"},
        {"Tab\there\r", LineFeeds::BreakLines, "Tab?here?"},
        {"Zeile\nZeile", LineFeeds::BreakLines, "Zeile\nZeile"},
        {"Name\nmit Zeilenende", LineFeeds::Replace, "Name?mit Zeilenende"},
        {"Entf\x7f", LineFeeds::Replace, "Entf?"},
        {"C1 \xC2\x9B"
         "2J",
         LineFeeds::Replace, "C1 ?2J"},                    // U+009B, the one-byte CSI
        {"\x81\x8d", LineFeeds::Replace, "??"},            // Windows-1252 gaps read as C1
        {"Grüße € \x9b", LineFeeds::Replace, "Grüße € ›"}, // a stray byte that is printable
    };
    for (const auto& [text, lineFeeds, shown] : cases)
        EXPECT_EQ(TerminalSafeText(text, lineFeeds), shown) << text;
}

TEST(Terminal, OnlyLineEndsOfAListReachTheScreen)
{
    CStartedList list("$Kopf\x1b[2J\nText\x1b[31m mit \x9b"
                      "1m Farbe;\n");
    for (const TerminalSize size : {TerminalSize{}, TerminalSize{40, 15}})
    {
        const Text screen =
            PlainScreenText(LayOutScreen(list.Surface(), Text("Box\x1b"), size, 0).lines);
        EXPECT_TRUE(std::none_of(screen.begin(), screen.end(),
                                 [](char c)
                                 { return c != '\n' && static_cast<unsigned char>(c) < 0x20; }))
            << screen;
    }
}

TEST(Terminal, LongBodyIsPagedBetweenHeadingsAndButtons)
{
    CStartedList list(FifteenItems());
    struct Case
    {
        TerminalSize size;
        std::optional<Text> box;
        std::size_t scrolledTo;
        std::size_t window;
        std::size_t first;
        Text marker; // the rule above the buttons
    };
    const Case cases[] = {
        {{40, 15}, std::nullopt, 0, 9, 0, "-- Zeilen 1–9 von 15 ↓ mehr ------------"},
        {{40, 15}, std::nullopt, 3, 9, 3, "-- Zeilen 4–12 von 15 ↓ mehr -----------"},
        // Scrolling past the end stops at the last line; the arrow is gone.
        {{40, 15}, std::nullopt, 100, 9, 6, "-- Zeilen 7–15 von 15 ------------------"},
        // An open box takes its lines from the body.
        {{40, 15},
         Text("Zeit für Timer konnte nicht gelesen werden"),
         0,
         4,
         0,
         "-- Zeilen 1–4 von 15 ↓ mehr ------------"},
        {{80, 24}, std::nullopt, 5, 15, 0, Text(80, '-')},
        // Too narrow for the long marker, the short one.
        {{24, 10}, std::nullopt, 0, 2, 0, "-- 1–2/15 ↓ ------------"},
        {{72, 0}, std::nullopt, 0, 15, 0, Text(72, '-')},
    };
    for (const auto& [size, box, scrolledTo, window, first, marker] : cases)
    {
        SCOPED_TRACE(std::to_string(size.columns) + "x" + std::to_string(size.rows));
        const ScreenLayout layout = LayOutScreen(list.Surface(), box, size, scrolledTo);
        EXPECT_EQ(layout.bodyLines, 15u);
        EXPECT_EQ(layout.bodyWindow, window);
        EXPECT_EQ(layout.firstBodyLine, first);
        const Lines& lines = layout.lines;
        if (size.rows > 0)
        {
            EXPECT_LE(lines.size(), size.rows);
        }
        for (const Text& line : lines)
            EXPECT_LE(DisplayWidth(line), size.columns) << line;
        // Headings on top, the window of the body, then the rule and the buttons.
        ASSERT_GE(lines.size(), 5 + window);
        EXPECT_EQ(lines[0], Text(size.columns, '-'));
        EXPECT_EQ(lines[1], "  Sichtprüfung");
        EXPECT_EQ(lines[4], "  Punkt " + std::to_string(first + 1) + " prüfen");
        EXPECT_EQ(lines[3 + window], "  Punkt " + std::to_string(first + window) + " prüfen");
        EXPECT_EQ(lines[4 + window], marker);
        EXPECT_EQ(lines[5 + window].find("  [a] Abbruch"), 0u);
        EXPECT_TRUE(lines.back().ends_with(box ? "  +-- [Enter] OK" : "[q] Beenden"));
    }
}

TEST(Terminal, ButtonsAndMenuEntriesWrapWithinTheWidth)
{
    CDialogHarness harness("/lists/");
    auto& surface = harness.Surface();
    surface.SetControlText(ControlId::MenuButton0, "Störungen an der Sicherheitsfahrschaltung");
    surface.ShowControl(ControlId::MenuButton0, Visibility::Shown);
    surface.SetControlText(ControlId::LeftButton, "Zurück");
    surface.ShowControl(ControlId::LeftButton, Visibility::Shown);
    surface.SetControlText(ControlId::RightButton, "Weiter");
    surface.ShowControl(ControlId::RightButton, Visibility::Shown);
    const Lines lines = LayOutScreen(surface, std::nullopt, {30, 20}, 0).lines;
    for (const char* expected : {"  [1] Störungen an der", "      Sicherheitsfahrschaltung",
                                 "  [a] Zurück  [s] Start", "  [d] Weiter  [q] Beenden"})
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
}

TEST(Terminal, TickRewritesOnlyTheStopwatchLineInPlace)
{
    CStartedList list("$Bremse\n:30 Wartezeit \nDruck beobachten;\n");
    auto& surface = list.Surface();
    ASSERT_TRUE(surface.Tick());
    const Lines before = LayOutScreen(surface, std::nullopt, {80, 24}, 0).lines;
    ASSERT_TRUE(surface.Tick());
    const Lines after = LayOutScreen(surface, std::nullopt, {80, 24}, 0).lines;
    EXPECT_EQ(ChangedLinesSequence(before, after), "\x1b"
                                                   "7\x1b[2;1H\x1b[K  Stoppuhr für Wartezeit28\x1b"
                                                   "8");

    struct Case
    {
        Lines shown;
        Lines next;
        std::optional<Text> sequence;
    };
    const Case cases[] = {
        {{"a", "b"}, {"a", "b"}, Text()},
        {{"a", "b", "c"},
         {"x", "b", "y"},
         "\x1b"
         "7\x1b[1;1H\x1b[Kx\x1b[3;1H\x1b[Ky\x1b"
         "8"},
        {{"a", "b"}, {"a", "b", "c"}, std::nullopt}, // more lines: the screen is drawn whole
    };
    for (const auto& [shown, next, sequence] : cases)
        EXPECT_EQ(ChangedLinesSequence(shown, next), sequence);
    // Drawn whole from the corner; no line end after the last line, which would scroll.
    EXPECT_EQ(WholeScreenSequence({"eins", "zwei"}), "\x1b[H\x1b[2Jeins\r\nzwei");
}

TEST(Terminal, EscapeSequencesBecomeKeysAndNeverButtonPresses)
{
    const auto character = [](char c) { return KeyPress{KeyKind::Character, c}; };
    const KeyPress up{KeyKind::Up}, down{KeyKind::Down};
    struct Case
    {
        std::string bytes;
        std::vector<KeyPress> keys;
    };
    const Case cases[] = {
        {"s1q", {character('s'), character('1'), character('q')}},
        {"\x1b[A\x1b[B", {up, down}},
        {"\x1bOA\x1bOB", {up, down}},
        {"\x1b[5~\x1b[6~", {KeyPress{KeyKind::PageUp}, KeyPress{KeyKind::PageDown}}},
        {"\x1b[1;5B", {down}},
        {"\x1b[D\x1b[C\x1bOD\x1bOC",
         {KeyPress{KeyKind::Left}, KeyPress{KeyKind::Right}, KeyPress{KeyKind::Left},
          KeyPress{KeyKind::Right}}},
        {"\x1bOM\r",
         {KeyPress{KeyKind::Enter}, character('\r')}}, // the keypad's Enter, then the main one
        {"\x1b[2~\x1b[15~\x1b[1;2P", {}}, // Insert, F5, Shift-F1: their digits press nothing
        {"\x1b[" + std::string(100, '1') + "A", {}},
        {"\x1b\x1b[A", {up}},
        {"\x1bq", {character('q')}},    // Alt-q
        {"\x1b[\n", {character('\n')}}, // broken off by a control byte
    };
    for (const auto& [bytes, keys] : cases)
    {
        CKeyParser parser;
        std::vector<KeyPress> parsed;
        for (const char byte : bytes)
        {
            if (const auto key = parser.Feed(static_cast<unsigned char>(byte)))
                parsed.push_back(*key);
        }
        EXPECT_EQ(parsed, keys) << bytes.substr(1);
        EXPECT_FALSE(parser.IsPending());
    }

    // The Escape key alone: what follows after the wait is a key of its own.
    CKeyParser parser;
    EXPECT_EQ(parser.Feed(0x1b), std::nullopt);
    EXPECT_TRUE(parser.IsPending());
    parser.Abandon();
    EXPECT_EQ(parser.Feed('A'), character('A'));
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

TEST(Terminal, KeySequenceOfAnotherKeyPressesNoButton)
{
    // "\x1b[2~" (Insert) holds a "2": the second topic must not open.
    const auto run = RunProgram({"--text", "--root", TAVRINO_EXAMPLES}, "s\x1b[2~");
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_NE(run.output.find("Hauptmenue Seite 1"), std::string::npos);
    EXPECT_EQ(run.output.find("Untermenue"), std::string::npos) << run.output;
}

TEST(Terminal, WindowKeysPressTheButtonsAtTheirPlaces)
{
    // Enter (CR) presses "Start", the centre button; a line feed, as a pipe of keys one a line
    // sends it, presses nothing.
    struct Case
    {
        const char* name;
        std::string input;
        const char* shown;
        const char* notShown;
    };
    const Case cases[] = {
        {"Enter is the centre button", "\r", "Hauptmenue Seite 1", nullptr},
        {"the keypad's Enter too", "\x1bOM", "Hauptmenue Seite 1", nullptr},
        {"a line feed presses nothing", "\n", nullptr, "Hauptmenue Seite 1"},
        {"Left is the left button", "s\x1b[D", "Ende", "Untermenue"},
        {"Right on a menu without a right button", "s\x1b[C", "Hauptmenue Seite 1", "Untermenue"},
        {"Left back from a sub-menu", "s2\x1b[D", "Untermenue von: Bremsen", nullptr},
    };
    for (const Case& c : cases)
    {
        const auto run = RunProgram({"--text", "--root", TAVRINO_EXAMPLES}, c.input);
        EXPECT_EQ(run.exitStatus, 0) << c.name << run.errors;
        if (c.shown != nullptr)
        {
            EXPECT_NE(run.output.find(c.shown), std::string::npos) << c.name << run.output;
        }
        if (c.notShown != nullptr)
        {
            EXPECT_EQ(run.output.find(c.notShown), std::string::npos) << c.name << run.output;
        }
    }
    // Left back from the sub-menu shows the main menu a second time.
    const auto back = RunProgram({"--text", "--root", TAVRINO_EXAMPLES}, "s2\x1b[D");
    const auto first = back.output.find("Hauptmenue Seite 1");
    ASSERT_NE(first, std::string::npos);
    EXPECT_NE(back.output.find("Hauptmenue Seite 1", back.output.find("Untermenue")),
              std::string::npos);
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

TEST(Terminal, ClosedInputEndsTheDialogAtOnce)
{
    int keys[2];
    ASSERT_EQ(pipe(keys), 0);
    close(keys[0]);
    close(keys[1]);
    std::ostringstream output;
    CTerminalShell shell(nullptr, keys[0], output);
    auto& surface = static_cast<CHeadlessSurface&>(shell.Surface());
    CMainDialog dialog(surface, "/lists/");
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(shell.RunModal(dialog), 0);
    EXPECT_EQ(surface.Result(), DialogResult::Ok);
}
TEST(Terminal, WatchedListIsReadAgainWhenItsFileChanges)
{
    CTemporaryFolder root;
    const auto list = root.Write("Thema/Liste.lst", "$Kopf\r\nEins;\r\nZwei;\r\nDrei;\r\n");
    int keys[2];
    ASSERT_EQ(pipe(keys), 0);
    std::ostringstream output;
    std::ostringstream errors;
    CTerminalShell shell(nullptr, keys[0], output);
    shell.WatchList(errors);
    auto& surface = static_cast<CHeadlessSurface&>(shell.Surface());
    CMainDialog dialog(surface, root.Folder());
    ASSERT_TRUE(dialog.Create());
    // Start, the topic, the list, and on to the second step; the file changes while the shell
    // waits for the next key.
    ASSERT_EQ(write(keys[1], "s11d", 4), 4);
    std::thread editor(
        [&]
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            root.Write("Thema/Liste.lst", "$Kopf\r\nNull;\r\nEins;\r\nZwei;\r\n");
            std::this_thread::sleep_for(std::chrono::milliseconds(700));
            close(keys[1]);
        });
    EXPECT_EQ(shell.RunModal(dialog), 0);
    editor.join();
    close(keys[0]);
    const std::string screens = output.str();
    const auto note = screens.rfind("Liste neu geladen");
    ASSERT_NE(note, std::string::npos) << screens;
    EXPECT_NE(screens.find("Eins", note), std::string::npos);
    EXPECT_EQ(errors.str(), "tavrino: '" + list.string() + "' read again: 0 errors, 0 warnings\n");
}
} // namespace
