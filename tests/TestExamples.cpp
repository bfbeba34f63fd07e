// `play` end to end on the sample program folders: a drivers' list walked from start to end, and
// every list of the authors' topic that shows the fault messages.
#include "TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace
{
// The program folder beside the built program, where the build laid the samples.
std::string ProgramFolder()
{
    const std::string program = TAVRINO_PROGRAM;
    return program.substr(0, program.rfind('/'));
}

// Without `root`, on the program folder beside the program.
std::vector<std::string> Play(const std::vector<std::string>& events, const std::string& root = {})
{
    std::vector<std::string> arguments{"play"};
    if (!root.empty())
        arguments.insert(arguments.end(), {"--root", root});
    arguments.insert(arguments.end(), events.begin(), events.end());
    const auto run = RunProgram(arguments);
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    return SplitLines(run.output);
}

bool Has(const std::string& line, const std::string& part)
{
    return line.find(part) != std::string::npos;
}

// `events`, which end on a menu page, followed by the presses that reach the shown menu
// button `caption`: "Mehr" until a page shows it, then the button. Samples are found by
// name, so that a new sample topic or list moves no test.
std::vector<std::string> Choose(std::vector<std::string> events, const std::string& caption,
                                const std::string& root = {})
{
    const char* const buttons[] = {"1000", "1001", "1005", "1006", "1007", "1008"};
    for (int page = 0; page < 20; ++page)
    {
        const auto lines = Play(events, root);
        if (lines.empty())
            break;
        for (int i = 0; i < 6; ++i)
        {
            if (Has(lines.back(), "\"" + std::string(buttons[i]) + "\": {\"text\": \"" + caption +
                                      "\", \"visible\": true"))
            {
                events.push_back("menu:" + std::to_string(i));
                return events;
            }
        }
        events.push_back("centre");
    }
    ADD_FAILURE() << caption << " is on no menu page";
    return events;
}

TEST(Examples, BrakeTestFromStartToEnd)
{
    // Start, "Bremsen", "Vollbremsprobe": a step, the gauge picture, steps, a question, the
    // "Ja" branch, the end, and back to the sub-menu.
    auto events = Choose(Choose({"centre"}, "Bremsen"), "Vollbremsprobe");
    const std::size_t opened = events.size();
    events.insert(events.end(),
                  {"right", "picture", "right", "right", "right", "right", "right", "right"});
    const auto all = Play(events);
    ASSERT_EQ(all.size(), opened + 9);
    // From the line of the press that opened the list on.
    const std::vector<std::string> lines(all.begin() + static_cast<std::ptrdiff_t>(opened),
                                         all.end());
    EXPECT_TRUE(Has(lines[0], R"("1002": {"text": "Vollbremsprobe", "visible": true)"));
    EXPECT_TRUE(Has(
        lines[0],
        R"("1020": {"text": "Zug gegen Wegrollen sichern.\nIst die Hauptluftleitung gefüllt?\nDruckanzeige prüfen")"));
    EXPECT_TRUE(Has(lines[1], R"("picture": {"file": ")" + ProgramFolder() +
                                  R"(/Bremsen/manometer.png", "width": 200, "height": 260})"));
    EXPECT_TRUE(Has(lines[1], R"("1023": {"text": "", "visible": true)"));
    EXPECT_TRUE(Has(lines[4], R"("1020": {"text": "Bremsen am letzten Wagen angelegt?")"));
    EXPECT_TRUE(Has(lines[4], R"("1011": {"text": "Ja", "visible": true)"));
    EXPECT_TRUE(
        Has(lines[5], R"("1020": {"text": "Bremse lösen und Lösen am letzten Wagen prüfen")"));
    EXPECT_TRUE(Has(
        lines[5], R"("1009": {"text": "Nein", "visible": false)")); // no "Zurück" after a question
    EXPECT_TRUE(Has(lines[7], R"("1020": {"text": "Liste abgearbeitet!\n Allzeit gute Fahrt!")"));
    EXPECT_TRUE(Has(lines[8], R"("1003": {"text": "Untermenue von: Bremsen")"));
}

TEST(Examples, EveryFaultMessageIsShownByItsList)
{
    const std::string root = std::filesystem::path(TAVRINO_AUTHORING).lexically_normal();
    const std::string folder = root + "/Übung Fehlermeldungen/";
    struct Case
    {
        std::string list;              // the button of the list
        std::vector<std::string> then; // after the list opened
        std::string message;           // as JSON
    };
    const Case cases[] = {
        {"01 Textdatei fehlt",
         {"right"},
         R"(Laut Liste sollte eine Textdatei nachgeladen werden. Diese wurde nicht gefunden!\nAbbruch!)"},
        {"02 Zeit nicht lesbar", {}, "Zeit für Timer konnte nicht gelesen werden"},
        {"03 Bild ohne Namen", {}, "Kein Bilddatei in Liste angegeben"},
        {"04 Bild fehlt",
         {},
         R"(Bild konnte nicht geladen werden\n)" + folder + "gibt-es-nicht.png"},
        {"05 Sprungmarke fehlt",
         {"right"},
         R"(Die Sprungmarke für JA konnte nicht gefunden werden!\n Liste abgebrochen!)"},
        {"06 Frage in letzter Zeile",
         {},
         "Als letzte Zeile wurde eine Auswahl in die Liste geschrieben. Die Sprungziele fehlen"},
        {"07 Sprungziele ohne Schrägstrich",
         {},
         R"(Es müssen zwei Sprungmakren in der Liste stehen JA/NEIN mit / getrennt!\n Liste wird abgebrochen!)"},
        {"08 NEIN-Marke fehlt",
         {},
         R"(Die Sprungmarke für NEIN konnte nicht gefunden werden!\n Liste abgebrochen!)"},
        {"09 JA-Marke fehlt",
         {},
         R"(Die Sprungmarke für JA konnte nicht gefunden werden!\n Liste abgebrochen!)"},
        {"10 Endlosschleife", {}, R"(Die Liste enthält eine Endlosschleife!\n Liste abgebrochen!)"},
    };
    const auto topic = Choose({"centre"}, "Übung Fehlermeldungen", root);
    for (const auto& c : cases)
    {
        auto events = Choose(topic, c.list, root);
        events.insert(events.end(), c.then.begin(), c.then.end());
        const auto lines = Play(events, root);
        ASSERT_EQ(lines.size(), events.size() + 1) << c.list;
        EXPECT_TRUE(Has(lines.back(), R"("messages": [")" + c.message + R"("])"))
            << c.message << "\n"
            << lines.back();
    }
    // The list that cannot be opened names itself in the headings instead.
    const auto lines = Play(Choose(topic, "11 Liste nicht lesbar", root), root);
    EXPECT_TRUE(
        Has(lines.back(), R"("1002": {"text": ")" + folder + R"(11 Liste nicht lesbar.lst")"));
    EXPECT_TRUE(Has(lines.back(), R"("1003": {"text": "konnte nicht geöffnet werden!")"));
}
} // namespace
