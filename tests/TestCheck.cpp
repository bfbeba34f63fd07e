// `tavrino check` end to end: faults at known lines, correct lists that must give no finding,
// links that lead out of the program folder, the forms of PATH, exit codes, the JSON form, and
// the sample program folder.
#include "TestSupport.h"
#include "check/FindingKind.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>

using namespace std::string_literals;

namespace
{
namespace fs = std::filesystem;

// Stands for a real picture in the tables below; the program decodes pictures with Qt.
const std::string Png = "<png>";

const std::string& PngBytes()
{
    static const std::string bytes = []
    {
        QImage image(8, 8, QImage::Format_RGB32);
        image.fill(0xff3366);
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return std::string(data.constData(), static_cast<std::size_t>(data.size()));
    }();
    return bytes;
}

// The UTF-8 of these sources as an old editor writes it: Windows-1252, `lineEnd` for "\n".
std::string Legacy(std::string_view utf8, std::string_view lineEnd)
{
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i)
    {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte == 0xC2 || byte == 0xC3) && i + 1 < utf8.size())
            bytes += static_cast<char>((static_cast<unsigned char>(utf8[++i]) & 0x3F) |
                                       (byte == 0xC3 ? 0xC0 : 0x80));
        else if (byte == '\n')
            bytes += lineEnd;
        else
            bytes += static_cast<char>(byte);
    }
    return bytes;
}

struct File
{
    std::string path; // inside the program folder "P"; "T/x/" makes a folder
    std::string bytes;
};

void WriteTree(const CTemporaryFolder& folder, const std::vector<File>& files)
{
    for (const auto& file : files)
    {
        if (file.path.ends_with('/'))
            folder.MakeFolder("P/" + file.path);
        else
            folder.Write("P/" + file.path, file.bytes == Png ? PngBytes() : file.bytes);
    }
}

// Just enough JSON for the checker's lines: one object of strings and whole numbers.
using JsonObject = std::map<std::string, std::string>;

std::optional<std::string> ReadJsonString(std::string_view text, std::size_t& at)
{
    if (at >= text.size() || text[at++] != '"')
        return std::nullopt;
    std::string value;
    while (at < text.size())
    {
        const char c = text[at++];
        if (c == '"')
            return value;
        if (static_cast<unsigned char>(c) < 0x20)
            return std::nullopt;
        if (c != '\\')
        {
            value += c;
            continue;
        }
        if (at >= text.size())
            return std::nullopt;
        const char escaped = text[at++];
        const std::string simple = "\"\\/bfnrt";
        const std::string meant = "\"\\/\b\f\n\r\t";
        if (const auto found = simple.find(escaped); found != std::string::npos)
            value += meant[found];
        else if (escaped == 'u' && at + 4 <= text.size())
        {
            const auto code = std::stoul(std::string(text.substr(at, 4)), nullptr, 16);
            at += 4;
            if (code >= 0x80)
                return std::nullopt; // the checker has no reason to escape more than controls
            value += static_cast<char>(code);
        }
        else
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<JsonObject> ParseJsonObject(std::string_view text)
{
    std::size_t at = 0;
    const auto skipSpaces = [&]
    {
        while (at < text.size() && text[at] == ' ')
            ++at;
    };
    const auto take = [&](char wanted)
    {
        skipSpaces();
        return at < text.size() && text[at] == wanted ? (++at, true) : false;
    };
    JsonObject object;
    if (!take('{'))
        return std::nullopt;
    do
    {
        skipSpaces();
        const auto key = ReadJsonString(text, at);
        if (!key || !take(':'))
            return std::nullopt;
        skipSpaces();
        std::optional<std::string> value;
        if (at < text.size() && text[at] == '"')
            value = ReadJsonString(text, at);
        else
        {
            const std::size_t first = at;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
                ++at;
            if (at > first)
                value = "#" + std::string(text.substr(first, at - first)); // "#": a number
        }
        if (!value || !object.emplace(*key, *value).second)
            return std::nullopt;
    } while (take(','));
    if (!take('}') || at != text.size())
        return std::nullopt;
    return object;
}

std::vector<std::string> KeysOf(const JsonObject& object)
{
    std::vector<std::string> keys;
    for (const auto& [key, value] : object)
        keys.push_back(key);
    return keys;
}

struct Found
{
    std::string file;
    int line = 0;
    std::string severity;
    std::string code;
    std::string text;
};

struct CheckRun
{
    int exitStatus = -1;
    std::vector<Found> findings;
    JsonObject summary;
};

// `check --json` on the paths; every line must be a well-formed object with exactly its keys.
CheckRun CheckJson(const std::vector<std::string>& paths)
{
    std::vector<std::string> arguments{"check", "--json"};
    arguments.insert(arguments.end(), paths.begin(), paths.end());
    const auto run = RunProgram(arguments);
    CheckRun result;
    result.exitStatus = run.exitStatus;
    const auto lines = SplitLines(run.output);
    for (std::size_t i = 0; i < lines.size(); ++i)
    {
        const auto object = ParseJsonObject(lines[i]);
        if (!object)
        {
            ADD_FAILURE() << "not a JSON object: " << lines[i];
            continue;
        }
        const auto keys = KeysOf(*object);
        if (i + 1 == lines.size())
        {
            EXPECT_EQ(keys, (std::vector<std::string>{"errors", "lists", "warnings"})) << lines[i];
            result.summary = *object;
            continue;
        }
        EXPECT_EQ(keys, (std::vector<std::string>{"code", "file", "line", "severity", "text"}))
            << lines[i];
        const std::string& line = object->at("line");
        Found found{object->at("file"), std::atoi(line.c_str() + 1), object->at("severity"),
                    object->at("code"), object->at("text")};
        EXPECT_TRUE(line.starts_with('#') && found.line > 0) << lines[i];
        EXPECT_TRUE(found.severity == "error" || found.severity == "warning") << lines[i];
        result.findings.push_back(found);
    }
    EXPECT_FALSE(lines.empty()) << "no summary";
    return result;
}

// Findings as "file:line:severity:code", `prefix` taken off the file, in output order.
std::vector<std::string> Brief(const std::vector<Found>& findings, const std::string& prefix)
{
    std::vector<std::string> brief;
    for (const auto& found : findings)
    {
        const std::string file =
            found.file.starts_with(prefix) ? found.file.substr(prefix.size()) : found.file;
        brief.push_back(file + ":" + std::to_string(found.line) + ":" + found.severity + ":" +
                        found.code);
    }
    return brief;
}

// ---- Faults at known lines -------------------------------------------------------------

struct Expected
{
    std::string file;
    int line = 0;
    std::string severity;
    std::string code;
    std::string mentions; // part of the text: the label, file or duration at fault
};

struct FaultCase
{
    const char* name;
    std::vector<File> files;
    std::vector<Expected> expected; // everything the checker must say, nothing more
};

// clang-format off
const FaultCase FaultCases[] = {
    // Errors.
    {"JumpToMissingLabel", {{"T/a.lst", "Schritt;\n@fehlt\n"}},
     {{"T/a.lst", 2, "error", "missing-label", "\"fehlt\""}}},
    {"MissingNoLabel", {{"T/a.lst", "%ja\nWeiter?\nnein/ja\n"}},
     {{"T/a.lst", 3, "error", "missing-label", "\"nein\""}}},
    {"MissingYesLabel", {{"T/a.lst", "%nein\nWeiter?\n nein / ja \n"}},
     {{"T/a.lst", 3, "error", "missing-label", "\"ja\""}}},
    {"TargetsWithoutSlash", {{"T/a.lst", "Weiter?\nnein ja\n"}},
     {{"T/a.lst", 2, "error", "targets-without-slash", "nein ja"}}},
    {"QuestionInLastLine", {{"T/a.lst", "Schritt;\nLetzte Frage?"}},
     {{"T/a.lst", 2, "error", "question-in-last-line", ""}}},
    {"QuestionInLastLineBeforeLineEnd", {{"T/a.lst", "Schritt;\r\nLetzte Frage?\r\n"}},
     {{"T/a.lst", 2, "error", "question-in-last-line", ""}}},
    {"MissingTextFile", {{"T/a.lst", "Schritt;\n§fehlt.txt\n"}},
     {{"T/a.lst", 2, "error", "missing-file", "fehlt.txt"}}},
    {"TextFileWithoutName", {{"T/a.lst", "Schritt;\n§   \n"}},
     {{"T/a.lst", 2, "error", "missing-file", ""}}},
    {"TextFileIsAFolder", {{"T/a.lst", "Schritt;\n§ordner\n"}, {"T/ordner/", ""}},
     {{"T/a.lst", 2, "error", "unreadable-file", "ordner"}}},
    {"MissingPicture", {{"T/a.lst", "Schritt;\n*fehlt.png\nWeiter;\n"}},
     {{"T/a.lst", 2, "error", "missing-picture", "fehlt.png"}}},
    {"PictureIsAText",
     {{"T/a.lst", "Schritt;\n*bild.png\nWeiter;\n"}, {"T/bild.png", "kein Bild\n"}},
     {{"T/a.lst", 2, "error", "unloadable-picture", "bild.png"}}},
    {"PictureWithoutName", {{"T/a.lst", "Schritt;\n*\nWeiter;\n"}},
     {{"T/a.lst", 2, "error", "picture-without-name", ""}}},
    {"DurationOfLetters", {{"T/a.lst", ":abc Bremse\nSchritt;\n"}},
     {{"T/a.lst", 1, "error", "zero-duration", "abc"}}},
    {"DurationZero", {{"T/a.lst", "Schritt;\n:0\nWeiter;\n"}},
     {{"T/a.lst", 2, "error", "zero-duration", "0"}}},
    {"JumpLoop", {{"T/a.lst", "Schritt;\n%oben\nText\n@oben\n"}},
     {{"T/a.lst", 4, "error", "endless-pass", ""}}},
    {"LoopThroughMissingPicture", {{"T/a.lst", "Schritt;\n%oben\n*fehlt.png\n@oben\n"}},
     {{"T/a.lst", 3, "error", "missing-picture", "fehlt.png"},
      {"T/a.lst", 4, "error", "endless-pass", ""}}},
    {"TextFileLoadsItself",
     {{"T/a.lst", "Schritt;\n§selbst.txt\n"}, {"T/selbst.txt", "Text\n§selbst.txt\n"}},
     {{"T/selbst.txt", 2, "error", "endless-pass", ""}}},
    {"TextFilesLoadEachOther", {{"T/a.lst", "Schritt;\n§eins.txt\n"},
      {"T/eins.txt", "Text\n§zwei.txt\n"},
      {"T/zwei.txt", "§eins.txt\n"}},
     {{"T/zwei.txt", 1, "error", "endless-pass", ""}}},
    {"PictureOutsideProgramFolder",
     {{"T/a.lst", "Schritt;\n*../../x.png\nWeiter;\n"}, {"../x.png", Png}},
     {{"T/a.lst", 2, "error", "outside-program-folder", "x.png"}}},
    {"TextFileOutsideProgramFolder",
     {{"T/a.lst", "Schritt;\n§../../x.txt\n"}, {"../x.txt", "Schritt;\n"}},
     {{"T/a.lst", 2, "error", "outside-program-folder", "x.txt"}}},
    {"FaultOnUnreachableLine", {{"T/a.lst", "Schritt;\n@\n@fehlt\n"}},
     {{"T/a.lst", 3, "error", "missing-label", "fehlt"},
      {"T/a.lst", 3, "warning", "unreachable", ""}}},
    {"SharedTextFileReportedOnce", {{"A/eins.lst", "Eins;\n§../Gemeinsam/text.txt\n"},
      {"B/zwei.lst", "Zwei;\n§../Gemeinsam/text.txt\n"},
      {"Gemeinsam/text.txt", "Schritt;\n@fehlt\n"}},
     {{"Gemeinsam/text.txt", 2, "error", "missing-label", "fehlt"}}},
    // Warnings.
    {"LabelAfterSpaces", {{"T/a.lst", "Anfang\n  %frei\nSchritt;\n"}},
     {{"T/a.lst", 2, "warning", "label-after-spaces", "frei"}}},
    {"DuplicateLabel", {{"T/a.lst", "%a\nSchritt;\n%a\nWeiter;\n"}},
     {{"T/a.lst", 3, "warning", "duplicate-label", "\"a\""}}},
    {"TextAfterLastStep", {{"T/a.lst", "Schritt;\nRest eins\nRest zwei\n"}},
     {{"T/a.lst", 2, "warning", "unshown-text", ""}}},
    {"NoStep", {{"T/a.lst", "$Kopf\n!Unter\n"}}, {{"T/a.lst", 1, "warning", "no-step", ""}}},
    // Nothing to start a pass from: the runner shows its end screen at once.
    {"EmptyList", {{"T/a.lst", ""}}, {{"T/a.lst", 1, "warning", "no-step", ""}}},
    {"OnlyZeroBytes", {{"T/a.lst", "\0\0\0"s}},
     {{"T/a.lst", 1, "warning", "zero-byte", ""}, {"T/a.lst", 1, "warning", "no-step", ""}}},
    {"MarkerAfterSpaces", {{"T/a.lst", "Schritt;\n  $Kopf\nWeiter;\n"}},
     {{"T/a.lst", 2, "warning", "marker-after-spaces", ""}}},
    {"UndefinedByte", {{"T/a.lst", "Schritt;\nA\x81"s
                  "B;\n"}},
     {{"T/a.lst", 2, "warning", "undefined-byte", ""}}},
    {"ZeroByte", {{"T/a.lst", "Schritt;\nWei\0ter;\n"s}},
     {{"T/a.lst", 2, "warning", "zero-byte", ""}}},
    {"MixedLineEnds", {{"T/a.lst", "Eins;\r\nZwei;\nDrei;\r\n"}},
     {{"T/a.lst", 2, "warning", "mixed-line-ends", ""}}},
    {"PictureFoundByCase", {{"T/a.lst", "Schritt;\n*Bild.PNG\nWeiter;\n"}, {"T/bild.png", Png}},
     {{"T/a.lst", 2, "warning", "name-case", "Bild.PNG"}}},
    {"TextFileFoundByCase",
     {{"T/a.lst", "Schritt;\n§MEHR/Text.txt\n"}, {"T/mehr/text.txt", "Mehr;\n"}},
     {{"T/a.lst", 2, "warning", "name-case", "MEHR/Text.txt"}}},
    {"BackslashInName",
     {{"T/a.lst", "Schritt;\n*bilder\\x.png\nWeiter;\n"}, {"T/bilder/x.png", Png}},
     {{"T/a.lst", 2, "warning", "backslash", "bilder\\x.png"}}},
    {"LinesJumpedOver",
     {{"T/a.lst", "Schritt;\n@ende\nNie gelesen\n\n# Kommentar\nAuch nie;\n%ende\nWeiter;\n"}},
     {{"T/a.lst", 3, "warning", "unreachable", "Zeilen 3 bis 6"}}},
    {"LineAfterEnd", {{"T/a.lst", "Schritt;\n@\nVergessen;\n"}},
     {{"T/a.lst", 3, "warning", "unreachable", "Zeile wird nie erreicht"}}},
};
// clang-format on

void PrintTo(const FaultCase& fault, std::ostream* output)
{
    *output << fault.name;
}

class CheckFault : public testing::TestWithParam<FaultCase>
{
};

TEST_P(CheckFault, IsFoundAtItsLineAndNothingElse)
{
    const FaultCase& fault = GetParam();
    CTemporaryFolder folder;
    WriteTree(folder, fault.files);
    auto run = CheckJson({folder.Folder() + "P"});

    std::vector<std::string> expected;
    int errors = 0;
    for (const auto& finding : fault.expected)
    {
        expected.push_back(finding.file + ":" + std::to_string(finding.line) + ":" +
                           finding.severity + ":" + finding.code);
        errors += finding.severity == "error";
    }
    EXPECT_EQ(Brief(run.findings, folder.Folder() + "P/"), expected);
    for (const auto& finding : fault.expected)
    {
        for (const auto& found : run.findings)
        {
            if (found.code == finding.code && found.line == finding.line)
            {
                EXPECT_NE(found.text.find(finding.mentions), std::string::npos)
                    << found.code << ": " << found.text;
            }
        }
    }
    EXPECT_EQ(run.exitStatus, errors > 0 ? 1 : 0);
    EXPECT_EQ(run.summary["errors"], "#" + std::to_string(errors));
    EXPECT_EQ(run.summary["warnings"], "#" + std::to_string(fault.expected.size() - errors));
}

INSTANTIATE_TEST_SUITE_P(Codes, CheckFault, testing::ValuesIn(FaultCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckFault, ListThatCannotBeRead)
{
    CTemporaryFolder folder;
    WriteTree(folder, {{"T/gut.lst", "Schritt;\n"}});
    fs::create_symlink("nirgends", folder.Path() / "P/T/kaputt.lst");
    auto run = CheckJson({folder.Folder() + "P/T"});
    EXPECT_EQ(Brief(run.findings, folder.Folder() + "P/"),
              (std::vector<std::string>{"T/kaputt.lst:1:error:unreadable-list"}));
    EXPECT_EQ(run.summary["lists"], "#2");
    EXPECT_EQ(run.exitStatus, 1);
}

// ---- Links that lead out of the program folder -----------------------------------------

// A program folder "P" with links beside "aussen/", whose lists are faulty: were they
// checked, their errors would show.
void WriteTreeWithLinks(const CTemporaryFolder& folder)
{
    WriteTree(folder, {{"Bremsen/Probe.lst", "Schritt;\n*bild.png\nWeiter;\n§teil.txt\n"},
                       {"Bremsen/teil.txt", "Teil;\n"},
                       {"Bremsen/bild.png", Png},
                       {"Namen/a.lst", "Schritt;\n*raus.png\nWeiter;\n*drin.png\nNoch;\n"
                                       "§drin.txt\n"},
                       {"Namen/b.lst", "Schritt;\n§raus.txt\n"}});
    folder.Write("aussen/Fremd/x.lst", "Schritt;\n@fehlt\n");
    folder.Write("aussen/fremd.lst", "Schritt;\n@fehlt\n");
    folder.Write("aussen/raus.txt", "Schritt;\n");
    folder.Write("aussen/raus.png", PngBytes());
    const fs::path program = folder.Path() / "P";
    const fs::path outside = folder.Path() / "aussen";
    fs::create_directory_symlink(outside / "Fremd", program / "Raus");
    fs::create_directory_symlink("Bremsen", program / "Innen");
    fs::create_symlink(outside / "fremd.lst", program / "Bremsen/Fremd.lst");
    fs::create_symlink("Probe.lst", program / "Bremsen/Kopie.lst");
    fs::create_symlink(outside / "raus.txt", program / "Namen/raus.txt");
    fs::create_symlink(outside / "raus.png", program / "Namen/raus.png");
    fs::create_symlink(program / "Bremsen/teil.txt", program / "Namen/drin.txt");
    fs::create_symlink("../Bremsen/bild.png", program / "Namen/drin.png");
}

// A topic or list behind a link that leads out is what the menus leave out: a warning, and
// nothing behind it is read. Links that stay inside are checked as any folder or file.
TEST(CheckLinks, TopicsAndListsThatLeadOutAreWarnedOfAndNotChecked)
{
    CTemporaryFolder folder;
    WriteTreeWithLinks(folder);
    const std::string program = folder.Folder() + "P";
    const std::string out = ":1:warning:link-outside-program-folder";
    struct Case
    {
        std::string path; // inside the program folder
        std::vector<std::string> findings;
        int lists;
    };
    const Case cases[] = {
        {"Bremsen", {"Bremsen/Fremd.lst" + out}, 2},
        {"Innen", {"Innen/Fremd.lst" + out}, 2},
        {"Raus", {"Raus" + out}, 0},
        {"Raus/x.lst", {"Raus/x.lst" + out}, 0},
        {"Bremsen/Fremd.lst", {"Bremsen/Fremd.lst" + out}, 0},
        {"Bremsen/Kopie.lst", {}, 1},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.path);
        auto run = CheckJson({program + "/" + test.path});
        EXPECT_EQ(Brief(run.findings, program + "/"), test.findings);
        EXPECT_EQ(run.summary["lists"], "#" + std::to_string(test.lists));
        EXPECT_EQ(run.summary["errors"], "#0");
        EXPECT_EQ(run.exitStatus, 0);
    }
    // The whole program folder: the topic link is named as a folder, each finding once.
    const auto run = RunProgram({"check", program});
    EXPECT_EQ(run.exitStatus, 1) << run.errors;
    const auto lines = SplitLines(run.output);
    const std::string list = ": warning: Liste führt über eine Verknüpfung aus dem Programmordner "
                             "hinaus: sie wird nicht gezeigt und nicht geprüft";
    const std::string topic = ": warning: Thema führt über eine Verknüpfung aus dem Programmordner "
                              "hinaus: es wird nicht gezeigt und nicht geprüft";
    EXPECT_EQ(std::count(lines.begin(), lines.end(), program + "/Bremsen/Fremd.lst:1" + list), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), program + "/Innen/Fremd.lst:1" + list), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), program + "/Raus:1" + topic), 1);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "6 Listen geprüft: 2 Fehler, 3 Warnungen");
}

// A picture or text file that a list names is an error when its link leads out, as it is for
// the runner, which cannot show it; one whose link stays inside is found.
TEST(CheckLinks, NamedFilesThatLeadOutAreErrors)
{
    CTemporaryFolder folder;
    WriteTreeWithLinks(folder);
    const std::string program = folder.Folder() + "P";
    auto run = CheckJson({program + "/Namen"});
    EXPECT_EQ(Brief(run.findings, program + "/"),
              (std::vector<std::string>{"Namen/a.lst:2:error:outside-program-folder",
                                        "Namen/b.lst:2:error:outside-program-folder"}));
    EXPECT_EQ(run.exitStatus, 1);
}

// ---- Correct lists: not one finding ----------------------------------------------------

struct CleanCase
{
    const char* name;
    std::vector<File> files;
};

const CleanCase CleanCases[] = {
    {"BrakeTestInLegacyCodePage",
     {{"Bremsen/Bremsprobe.lst",
       Legacy("# Bremsprobe vor der Abfahrt; Kommentar mit Semikolon\n$Bremsprobe\n!Vorbereitung\n"
              "Hauptschalter aus,\nSteht der Zug?,\nBremse angelegt;\n:90 Füllen\n   \n"
              "Druck in Ordnung?\n nein1 / ja1 \n%nein1\nDruck prüfen;\n@ja1\n%ja1\n"
              "*  manometer.png  \n!Abschluss\n  Eingerückter Text\nBremse lösen;\n:\n"
              "Zeit abgewartet;\n# Ende?",
              "\r\n")},
      {"Bremsen/manometer.png", Png}}},
    {"JumpBackThroughStepEnd",
     {{"Bremsen/Wiederholung.lst", "$Wiederholung\n%oben\nSchritt oben;\n  Schritt unten;\n"
                                   "Noch einmal?\nfertig/Nochmal oben\n%Nochmal oben\n@oben\n"
                                   "%fertig\nFertig;\n"}}},
    {"BranchesMeetAtJumpTarget",
     {{"Bremsen/Verzweigung.lst", "!Verzweigung\nZustand gut?\nschlecht/gut/sehr gut\n%schlecht\n"
                                  "Nachbessern;\n@weiter\n%gut/sehr gut\nGut so;\n@weiter\n"
                                  "%weiter\nGemeinsamer Schritt;\n?\nende;/ende;\n%ende;\n;\n@\n"
                                  "# danach nichts mehr\n"}}},
    {"QuestionFirstAndStopwatches",
     {{"Signale/Frage.lst", "Signal frei?\nhalt/frei\n%frei\n: 30 Warten\nFahren;\n:\nZeit um;\n@\n"
                            "%halt\n:+45 Halt\nWarten;\nNoch warten?\nende/halt\n%ende\n"}}},
    {"TextFilesSharedAndNested",
     {{"Störungen/Tür.lst", "$Türstörung\nTür prüfen;\n§Anhang.txt\n"},
      {"Störungen/Tor.lst", "$Torstörung\nTor prüfen;\n§ Anhang.txt \n"},
      {"Störungen/Anhang.txt", "!Aus dem Anhang\nTür offen?\nzu/offen\n%offen\nTür schließen;\n"
                               "*bilder/tür.png\n%zu\nWeiter;\n§Nachtrag.txt\n"},
      {"Störungen/Nachtrag.txt", "Letzter Schritt;\n"},
      {"Störungen/bilder/tür.png", Png}}},
    {"TextFileNamedInLegacyCodePage",
     {{"Störungen/Zweite.lst", Legacy("$Zweite Störung\nErst prüfen;\n§Türtext.txt", "\r")},
      {"Störungen/Türtext.txt",
       Legacy("Schritt aus der Textdatei;\n*../Bremsen/manometer.png\nLetzter Schritt;\n", "\r\n")},
      {"Bremsen/manometer.png", Png}}},
    {"TextFileLoadedAgainInNextStep",
     {{"T/a.lst", "Schritt;\n§runde.txt\n"}, {"T/runde.txt", "Runde;\n§runde.txt\n"}}},
    {"SpacesOnlyLineStartsAStep", {{"T/a.lst", "Erster Schritt;\n   \nZweiter Schritt;\n"}}},
};

void PrintTo(const CleanCase& clean, std::ostream* output)
{
    *output << clean.name;
}

class CheckCleanList : public testing::TestWithParam<CleanCase>
{
};

TEST_P(CheckCleanList, GivesNoFinding)
{
    CTemporaryFolder folder;
    WriteTree(folder, GetParam().files);
    auto run = CheckJson({folder.Folder() + "P"});
    EXPECT_EQ(Brief(run.findings, folder.Folder() + "P/"), std::vector<std::string>{});
    EXPECT_EQ(run.summary["errors"], "#0");
    EXPECT_EQ(run.summary["warnings"], "#0");
    EXPECT_EQ(run.exitStatus, 0);
}

INSTANTIATE_TEST_SUITE_P(Lists, CheckCleanList, testing::ValuesIn(CleanCases),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- PATH, output forms and exit codes -------------------------------------------------

// Runs in `folder` while it lives, so that a relative PATH means what a user means by it.
class CWorkingFolder
{
public:
    explicit CWorkingFolder(const fs::path& folder) : m_saved(fs::current_path())
    {
        fs::current_path(folder);
    }
    ~CWorkingFolder() { fs::current_path(m_saved); }

private:
    fs::path m_saved;
};

TEST(CheckPath, ListTopicOrProgramFolderShownAsNamed)
{
    CTemporaryFolder folder;
    WriteTree(folder, {{"T/a.lst", "Schritt;\n@fehlt\n"}, {"U/b.lst", "Gut;\n"}});
    const std::string absolute = folder.Folder();
    struct Case
    {
        std::string workingFolder; // inside the temporary folder
        std::string path;
        std::string shown;
        int lists;
    };
    const Case cases[] = {
        {"", absolute + "P/T/a.lst", absolute + "P/T/a.lst", 1},
        {"", absolute + "P/T", absolute + "P/T/a.lst", 1},
        {"", absolute + "P", absolute + "P/T/a.lst", 2},
        {"", absolute + "P/", absolute + "P/T/a.lst", 2},
        {"", "P/T/a.lst", "P/T/a.lst", 1},
        {"", "P/T/", "P/T/a.lst", 1},
        {"", "P", "P/T/a.lst", 2},
        {"P", ".", "T/a.lst", 2},
        {"P", "T", "T/a.lst", 1},
        {"P/T", "a.lst", "a.lst", 1},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.workingFolder + " " + test.path);
        CWorkingFolder working(folder.Path() / test.workingFolder);
        const auto run = RunProgram({"check", test.path});
        EXPECT_EQ(run.exitStatus, 1);
        const auto lines = SplitLines(run.output);
        ASSERT_EQ(lines.size(), 2u) << run.output;
        EXPECT_TRUE(lines[0].starts_with(test.shown + ":2: error: ")) << lines[0];
        EXPECT_NE(lines[0].find("fehlt"), std::string::npos) << lines[0];
        EXPECT_EQ(lines[1], std::to_string(test.lists) + (test.lists == 1 ? " Liste" : " Listen") +
                                " geprüft: 1 Fehler, 0 Warnungen");
    }
}

// A list that another list loads as its text is still checked from its own first line: what
// the passes of the other list found out must not stand in for its own.
TEST(CheckPath, ListLoadedByAnotherIsCheckedFromItsOwnStart)
{
    CTemporaryFolder folder;
    WriteTree(folder, {{"T/a.lst", "Erst;\n§b.lst\n"}, {"T/b.lst", "nur Text\n"}});
    const auto run = RunProgram({"check", folder.Folder() + "P/T"});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_NE(run.output.find("b.lst:1: warning: Die Liste zeigt keinen Schritt"),
              std::string::npos)
        << run.output;
}

// Every finding code the checker can give is explained, with advice, by `tavrino help check`.
TEST(CheckHelp, ExplainsEveryFindingCode)
{
    const auto run = RunProgram({"help", "check"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    for (const FindingEntry& entry : AllFindingEntries())
    {
        SCOPED_TRACE(entry.code);
        EXPECT_FALSE(FindingAdvice(entry.code).empty());
        const auto at = run.output.find("\n  " + std::string(entry.code) + " (");
        ASSERT_NE(at, std::string::npos);
        EXPECT_NE(run.output.find(std::string(FindingAdvice(entry.code)), at), std::string::npos);
    }
    // Where a finding names a label or a file, the help shows a mark, not a gap.
    EXPECT_EQ(run.output.find("  nicht gefunden"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"Sprungmarke … für NEIN nicht gefunden\""), std::string::npos)
        << run.output;
    EXPECT_EQ(RunProgram({"check", "--help"}).output, run.output);
}

// A mistyped command line gets one line that names the fault and the help, and status 2; a
// missing and a wrong program folder are told apart as check tells them.
TEST(CheckHelp, CommandLineFaultsAreOneLine)
{
    CTemporaryFolder folder;
    const auto file = folder.Write("datei.txt", "x");
    const std::string missing = folder.Folder() + "fehlt";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--bogus"}, "tavrino: unknown argument '--bogus'; see 'tavrino --help'"},
        {{"play", "--screen", "x"}, "--screen needs WIDTHxHEIGHT"},
        {{"--root", missing}, "tavrino: '" + missing + "' does not exist"},
        {{"play", "--root", missing}, "tavrino: '" + missing + "' does not exist"},
        {{"check", missing}, "tavrino check: '" + missing + "' does not exist"},
        {{"--root", file.string()}, "tavrino: '" + file.string() + "' is not a folder"},
    };
    for (const auto& [arguments, message] : cases)
    {
        SCOPED_TRACE(arguments.front());
        const auto run = RunProgram(arguments);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(SplitLines(run.errors).size(), 1u) << run.errors;
        EXPECT_NE(run.errors.find(message), std::string::npos) << run.errors;
    }
    const auto version = RunProgram({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_TRUE(version.output.starts_with("tavrino ") && version.output.ends_with("\n"));
    EXPECT_EQ(std::count(version.output.begin(), version.output.end(), '.'), 2) << version.output;
}

TEST(CheckPath, ExitStatusAndSummary)
{
    CTemporaryFolder folder;
    WriteTree(folder, {{"W/eins.lst", "$Nur Kopf\n"},
                       {"W/zwei.lst", "Schritt;\nRest\n"},
                       {"F/a.lst", "Schritt;\n@fehlt\n:0\n"}});
    const std::string program = folder.Folder() + "P";
    struct Case
    {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string summary; // empty: a usage error, told on the error stream
    };
    const Case cases[] = {
        {{"check", program + "/W/eins.lst"}, 0, "1 Liste geprüft: 0 Fehler, 1 Warnung"},
        {{"check", program + "/W"}, 0, "2 Listen geprüft: 0 Fehler, 2 Warnungen"},
        {{"check", program + "/F"}, 1, "1 Liste geprüft: 2 Fehler, 1 Warnung"},
        {{"check", program + "/W/eins.lst", program + "/W"},
         0,
         "2 Listen geprüft: 0 Fehler, 2 Warnungen"},
        {{"check", program + "/fehlt"}, 2, ""},
        {{"check", "--json", program + "/W", program + "/fehlt.lst"}, 2, ""},
        {{"check"}, 2, ""},
        {{"check", "--json"}, 2, ""},
        {{"check", "--unbekannt", program}, 2, ""},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.arguments.back());
        const auto run = RunProgram(test.arguments);
        EXPECT_EQ(run.exitStatus, test.exitStatus) << run.output << run.errors;
        if (test.summary.empty())
        {
            EXPECT_FALSE(run.errors.empty());
            EXPECT_EQ(run.output.find("geprüft"), std::string::npos) << run.output;
            if (test.arguments.back().find("fehlt") != std::string::npos)
            {
                EXPECT_NE(run.errors.find(test.arguments.back()), std::string::npos) << run.errors;
            }
            continue;
        }
        const auto lines = SplitLines(run.output);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), test.summary);
    }
}

TEST(CheckPath, FolderThatCannotBeReadIsAFailure)
{
    // The program must be reachable for a user without privileges (a clone under /root is not).
    if (RunProgramUnprivileged({"--help"}).exitStatus != 0)
        GTEST_SKIP() << "the built program cannot be run as an unprivileged user here";
    CTemporaryFolder folder;
    WriteTree(folder, {{"Gut/a.lst", "Schritt;\n"}, {"Zu/b.lst", "Schritt;\n"}});
    // Open to the user the check runs as, but for the one folder it cannot read.
    fs::permissions(folder.Path(),
                    fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    for (const char* open : {"P", "P/Gut"})
        fs::permissions(folder.Path() / open,
                        fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(folder.Path() / "P/Zu", fs::perms::none);
    const std::string program = folder.Folder() + "P";
    struct Case
    {
        std::string path;
        std::string named; // the folder the error line names
        int checked;       // lists checked all the same
    };
    const Case cases[] = {
        {program + "/Zu", program + "/Zu", 0},
        {program, program + "/Zu/", 1},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.path);
        const auto run = RunProgramUnprivileged({"check", test.path});
        EXPECT_EQ(run.exitStatus, 2) << run.output << run.errors;
        EXPECT_NE(run.errors.find("cannot read the folder '" + test.named + "'"), std::string::npos)
            << run.errors;
        EXPECT_NE(run.output.find(std::to_string(test.checked) + " List"), std::string::npos)
            << run.output;
    }
    fs::permissions(folder.Path() / "P/Zu", fs::perms::owner_all);
}

TEST(CheckJsonForm, EscapedSortedAndCounted)
{
    CTemporaryFolder folder;
    // Findings come up in another order than file and line; a label needs escaping.
    WriteTree(folder, {{"T/b.lst", "Weiter?\nnein ja\n"},
                       {"T/a.lst", "Schritt;\n@\n@a\"b\\c\n:0\n"},
                       {"T/c.lst", "Schritt;\n§zuerst.txt\n"},
                       {"T/zuerst.txt", "@fehlt\n"}});
    const auto run = CheckJson({folder.Folder() + "P"});
    EXPECT_EQ(run.exitStatus, 1);
    const auto brief = Brief(run.findings, folder.Folder() + "P/");
    EXPECT_EQ(brief, (std::vector<std::string>{
                         "T/a.lst:3:error:missing-label", "T/a.lst:3:warning:unreachable",
                         "T/a.lst:4:error:zero-duration", "T/b.lst:2:error:targets-without-slash",
                         "T/zuerst.txt:1:error:missing-label"}));
    ASSERT_FALSE(run.findings.empty());
    EXPECT_NE(run.findings[0].text.find("a\"b\\c"), std::string::npos) << run.findings[0].text;
    EXPECT_EQ(run.summary, (JsonObject{{"lists", "#3"}, {"errors", "#4"}, {"warnings", "#1"}}));
}

TEST(CheckJsonForm, ReaderRejectsWhatIsNotAnObject)
{
    EXPECT_TRUE(ParseJsonObject(R"({"a": "x\"y", "b": 12})"));
    EXPECT_FALSE(ParseJsonObject(R"({"a": "x"y"})"));
    EXPECT_FALSE(ParseJsonObject(R"({"a": 1, "a": 2})"));
    EXPECT_FALSE(ParseJsonObject(R"({"a": 1} x)"));
    EXPECT_FALSE(ParseJsonObject("{\"a\": \"tab\there\"}"));
}

// ---- The sample program folder ---------------------------------------------------------

TEST(CheckExamples, DriversSamplesHaveNoFindings)
{
    const std::string program = TAVRINO_PROGRAM;
    auto run = CheckJson({program.substr(0, program.rfind('/'))});
    EXPECT_EQ(Brief(run.findings, ""), std::vector<std::string>{});
    EXPECT_EQ(run.summary["errors"], "#0");
    EXPECT_EQ(run.summary["warnings"], "#0");
    EXPECT_EQ(run.exitStatus, 0);
}

TEST(CheckExamples, OnlyTheFaultTopicOfTheAuthoringSamplesHasFindings)
{
    const std::string folder = fs::path(TAVRINO_AUTHORING).lexically_normal().string();
    auto run = CheckJson({folder});
    const std::string topic = "Übung Fehlermeldungen/";
    EXPECT_EQ(Brief(run.findings, folder + "/"),
              (std::vector<std::string>{
                  topic + "01 Textdatei fehlt.lst:3:error:missing-file",
                  topic + "02 Zeit nicht lesbar.lst:3:error:zero-duration",
                  topic + "03 Bild ohne Namen.lst:3:error:picture-without-name",
                  topic + "04 Bild fehlt.lst:2:error:missing-picture",
                  topic + "05 Sprungmarke fehlt.lst:3:error:missing-label",
                  topic + "06 Frage in letzter Zeile.lst:2:error:question-in-last-line",
                  topic + "07 Sprungziele ohne Schrägstrich.lst:3:error:targets-without-slash",
                  topic + "08 NEIN-Marke fehlt.lst:4:error:missing-label",
                  topic + "09 JA-Marke fehlt.lst:4:error:missing-label",
                  topic + "10 Endlosschleife.lst:4:error:endless-pass",
                  topic + "11 Liste nicht lesbar.lst:1:error:unreadable-list",
              }));
    EXPECT_EQ(run.summary["errors"], "#11");
    EXPECT_EQ(run.summary["warnings"], "#0");
    EXPECT_EQ(run.exitStatus, 1);
}

// Each sample fault list gives exactly what its recording in golden/check/ says.
TEST(CheckExamples, FaultListsMatchTheirRecordings)
{
    const fs::path topic = fs::path(TAVRINO_AUTHORING) / "Übung Fehlermeldungen";
    const fs::path recordings = fs::path(TAVRINO_GOLDEN) / "check";
    CWorkingFolder working(topic);
    std::vector<std::string> lists;
    for (const auto& entry : fs::directory_iterator(topic))
    {
        if (entry.path().extension() == ".lst")
            lists.push_back(entry.path().stem().string());
    }
    std::vector<std::string> recorded;
    for (const auto& entry : fs::directory_iterator(recordings))
        recorded.push_back(entry.path().stem().string());
    std::sort(lists.begin(), lists.end());
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ(recorded, lists);
    for (const auto& name : lists)
    {
        SCOPED_TRACE(name);
        std::ifstream file(recordings / (name + ".expected"), std::ios::binary);
        const std::string expected((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
        const auto run = RunProgram({"check", name + ".lst"});
        EXPECT_EQ(run.output, expected);
        EXPECT_EQ(run.exitStatus, 1);
    }
}
} // namespace
