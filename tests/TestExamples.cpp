// `play` end to end on the sample program folder: a list walked from start to end, and every
// list of the topic that shows the fault messages.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
// The program folder beside the built program, where the build laid the samples.
std::string ProgramFolder()
{
    const std::string program = TAVRINO_PROGRAM;
    return program.substr(0, program.rfind('/'));
}

std::vector<std::string> Play(const std::vector<std::string>& events)
{
    std::vector<std::string> arguments{"play"};
    arguments.insert(arguments.end(), events.begin(), events.end());
    const auto run = RunProgram(arguments);
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    return SplitLines(run.output);
}

bool Has(const std::string& line, const std::string& part)
{
    return line.find(part) != std::string::npos;
}

TEST(Examples, BrakeTestFromStartToEnd)
{
    // Start, "Bremsen", "Vollbremsprobe": a step, the gauge picture, steps, a question, the
    // "Ja" branch, the end, and back to the sub-menu.
    const auto lines = Play({"centre", "menu:1", "menu:2", "right", "picture", "right", "right",
                             "right", "right", "right", "right"});
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_TRUE(Has(lines[3], R"("1002": {"text": "Vollbremsprobe", "visible": true)"));
    EXPECT_TRUE(Has(
        lines[3],
        R"("1020": {"text": "Zug gegen Wegrollen sichern.\nIst die Hauptluftleitung gefüllt?\nDruckanzeige prüfen")"));
    EXPECT_TRUE(Has(lines[4], R"("picture": {"file": ")" + ProgramFolder() +
                                  R"(/Bremsen/manometer.png", "width": 200, "height": 260})"));
    EXPECT_TRUE(Has(lines[4], R"("1023": {"text": "", "visible": true)"));
    EXPECT_TRUE(Has(lines[7], R"("1020": {"text": "Bremsen am letzten Wagen angelegt?")"));
    EXPECT_TRUE(Has(lines[7], R"("1011": {"text": "Ja", "visible": true)"));
    EXPECT_TRUE(
        Has(lines[8], R"("1020": {"text": "Bremse lösen und Lösen am letzten Wagen prüfen")"));
    EXPECT_TRUE(Has(
        lines[8], R"("1009": {"text": "Nein", "visible": false)")); // no "Zurück" after a question
    EXPECT_TRUE(Has(lines[10], R"("1020": {"text": "Liste abgearbeitet!\n Allzeit gute Fahrt!")"));
    EXPECT_TRUE(Has(lines[11], R"("1003": {"text": "Untermenue von: Bremsen")"));
}

TEST(Examples, EveryFaultMessageIsShownByItsList)
{
    // "Übung Fehlermeldungen" is the second topic of main-menu page 2.
    const std::string folder = ProgramFolder() + "/Übung Fehlermeldungen/";
    struct Case
    {
        std::vector<std::string> choose; // from the topic's sub-menu page 1, and on
        std::string message;             // as JSON
    };
    const Case cases[] = {
        {{"menu:0", "right"},
         R"(Laut Liste sollte eine Textdatei nachgeladen werden. Diese wurde nicht gefunden!\nAbbruch!)"},
        {{"menu:1"}, "Zeit für Timer konnte nicht gelesen werden"},
        {{"menu:2"}, "Kein Bilddatei in Liste angegeben"},
        {{"menu:3"}, R"(Bild konnte nicht geladen werden\n)" + folder + "gibt-es-nicht.png"},
        {{"menu:4", "right"},
         R"(Die Sprungmarke für JA konnte nicht gefunden werden!\n Liste abgebrochen!)"},
        {{"menu:5"},
         "Als letzte Zeile wurde eine Auswahl in die Liste geschrieben. Die Sprungziele fehlen"},
        {{"centre", "menu:0"},
         R"(Es müssen zwei Sprungmakren in der Liste stehen JA/NEIN mit / getrennt!\n Liste wird abgebrochen!)"},
        {{"centre", "menu:1"},
         R"(Die Sprungmarke für NEIN konnte nicht gefunden werden!\n Liste abgebrochen!)"},
        {{"centre", "menu:2"},
         R"(Die Sprungmarke für JA konnte nicht gefunden werden!\n Liste abgebrochen!)"},
        {{"centre", "menu:3"}, R"(Die Liste enthält eine Endlosschleife!\n Liste abgebrochen!)"},
    };
    for (const auto& c : cases)
    {
        std::vector<std::string> events{"centre", "centre", "menu:1"};
        events.insert(events.end(), c.choose.begin(), c.choose.end());
        const auto lines = Play(events);
        ASSERT_EQ(lines.size(), events.size() + 1);
        EXPECT_TRUE(Has(lines.back(), R"("messages": [")" + c.message + R"("])"))
            << c.message << "\n"
            << lines.back();
    }
    // The list that cannot be opened names itself in the headings instead.
    const auto lines = Play({"centre", "centre", "menu:1", "centre", "menu:4"});
    EXPECT_TRUE(
        Has(lines.back(), R"("1002": {"text": ")" + folder + R"(11 Liste nicht lesbar.lst")"));
    EXPECT_TRUE(Has(lines.back(), R"("1003": {"text": "konnte nicht geöffnet werden!")"));
}
} // namespace
