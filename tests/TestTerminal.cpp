// `tavrino --text`: screens as text, keys that press the shown buttons, boxes confirmed by Enter;
// texts wrapped and made safe for the terminal, keys read from escape sequences.
#include "TestSupport.h"
#include "frontends/KeyParser.h"
#include "frontends/TerminalShell.h"
#include "frontends/TerminalText.h"
#include "platform/ControlId.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace
{
using Lines = std::vector<Text>;

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
