// The checker over a program folder of 1,000 lists in 50 topic folders, and over single long
// lists of the shapes whose work once grew with the square of their lines.
#include "BenchFolder.h"
#include "check/ListChecker.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

namespace
{
namespace fs = std::filesystem;

constexpr int TopicCount = 50;
constexpr int ListsPerTopic = 20;

// About 40 lines with every kind of line but pictures: headings, a stopwatch, labels, a
// question, a jump back through a step end, and a text file at the end.
const char* const ListTemplate =
    "# Liste {n}\n$Prüfung {n}\n!Vorbereitung\n:120 Bremsprobe {n}\nHauptschalter aus,\n"
    "Stromabnehmer senken\nSchritt eins;\n%oben\nSchritt zwei;\n\nDruck in Ordnung?\n"
    " nein / ja \n%nein\nDruck prüfen,\nVentil öffnen;\n@weiter\n%ja\nDruck notieren;\n"
    "%weiter\n!Prüfung\nBremse anlegen;\n:\nZeit abgewartet;\nWiederholen?\nfertig/nochmal\n"
    "%nochmal\n@oben\n%fertig\n$Abschluss {n}\nTüren schließen,\nTüren prüfen;\n"
    "  Licht einschalten\nLicht prüfen;\n# Kommentar\nFahrtrichtung wählen;\n"
    "Signal beachten\nIst alles bereit?,\nAbfahrt melden;\n§Anhang.txt\n";

std::string ListText(int number)
{
    std::string text;
    for (const char* c = ListTemplate; *c != 0; ++c)
    {
        if (*c == '\n')
            text += "\r\n";
        else if (std::string_view(c).starts_with("{n}"))
        {
            text += std::to_string(number);
            c += 2;
        }
        else
            text += *c;
    }
    return text;
}

const char* const AppendixText = "!Anhang\r\nAnhang lesen;\r\nAnhang bestätigt?\r\nnein/ja\r\n"
                                 "%nein\r\nNochmals lesen;\r\n%ja\r\nFertig;\r\n";

// Made once per process in the temporary folder, removed at exit.
class CBenchProgramFolder
{
public:
    CBenchProgramFolder()
    {
        for (int topic = 0; topic < TopicCount; ++topic)
        {
            const std::string folder = Folder() + "Thema " + std::to_string(topic) + "/";
            fs::create_directory(folder);
            std::ofstream(folder + "Anhang.txt", std::ios::binary) << AppendixText;
            std::vector<std::string> names;
            for (int list = 0; list < ListsPerTopic; ++list)
            {
                const std::string name = "Liste " + std::to_string(list) + ".lst";
                const std::string text = ListText(topic * ListsPerTopic + list);
                std::ofstream(folder + name, std::ios::binary) << text;
                m_lists.emplace_back(folder, name);
                m_bytes += text.size();
            }
        }
    }

    const std::string& Folder() const { return m_place.Folder(); }
    // Topic folder and file name of every list.
    const std::vector<std::pair<std::string, std::string>>& Lists() const { return m_lists; }
    // Bytes of all lists together, without the text files they load.
    std::size_t Bytes() const { return m_bytes; }

private:
    CBenchFolder m_place;
    std::vector<std::pair<std::string, std::string>> m_lists;
    std::size_t m_bytes = 0;
};

void BM_CheckThousandLists(benchmark::State& state)
{
    static const CBenchProgramFolder program;
    std::size_t findings = 0;
    for (auto _ : state)
    {
        CListChecker checker(nullptr);
        for (const auto& [topic, name] : program.Lists())
            checker.CheckList(program.Folder(), topic, name);
        checker.Finish();
        findings = checker.Findings().size();
        benchmark::DoNotOptimize(findings);
    }
    // Correct lists: anything found here means the lists above went wrong.
    state.counters["findings"] = static_cast<double>(findings);
    state.counters["lists"] = static_cast<double>(program.Lists().size());
    state.counters["list_bytes"] = static_cast<double>(program.Bytes());
}
BENCHMARK(BM_CheckThousandLists)->Unit(benchmark::kMillisecond);

// One list "lang.lst" of `lines` lines in the topic folder "Thema", checked as a whole: the
// lines come from `line`, given the line's number; `pictures` files "Bild0.png" ... lie beside.
void CheckLongList(benchmark::State& state, std::int64_t lines, std::string (*line)(std::int64_t),
                   int pictures = 0)
{
    const CBenchFolder place;
    const std::string folder = place.Folder() + "Thema/";
    std::filesystem::create_directory(folder);
    std::ofstream(folder + "bild.png", std::ios::binary) << "Bild";
    for (int i = 0; i < pictures; ++i)
        std::ofstream(folder + "Bild" + std::to_string(i) + ".png", std::ios::binary) << "Bild";
    {
        std::ofstream list(folder + "lang.lst", std::ios::binary);
        for (std::int64_t i = 0; i < lines; ++i)
            list << line(i) << "\r\n";
    }
    for (auto _ : state)
    {
        CListChecker checker(nullptr);
        checker.CheckList(place.Folder(), folder, "lang.lst");
        checker.Finish();
        benchmark::DoNotOptimize(checker.Findings().size());
    }
    state.SetComplexityN(state.range(0));
}

// One sub-heading and then only steps: the time must grow with the steps, not their square.
void BM_CheckStepsUnderOneSubHeading(benchmark::State& state)
{
    CheckLongList(state, state.range(0) + 1,
                  [](std::int64_t i) -> std::string
                  { return i == 0 ? "!Teil" : "Schritt " + std::to_string(i - 1) + ";"; });
}
BENCHMARK(BM_CheckStepsUnderOneSubHeading)
    ->RangeMultiplier(4)
    ->Range(10000, 160000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// A stopwatch started once and checked on every other line: each check may be a warning
// screen, thousands of lines after the last step end.
void BM_CheckStopwatchChecksAfterOneStart(benchmark::State& state)
{
    CheckLongList(state, state.range(0),
                  [](std::int64_t i) -> std::string { return i == 0 ? ":120 Bremse" : ":"; });
}
BENCHMARK(BM_CheckStopwatchChecksAfterOneStart)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Pictures, each a screen of its own, after one step end.
void BM_CheckPicturesWithoutStepEnds(benchmark::State& state)
{
    CheckLongList(state, state.range(0),
                  [](std::int64_t i) -> std::string { return i == 0 ? "Anfang;" : "*bild.png"; });
}
BENCHMARK(BM_CheckPicturesWithoutStepEnds)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Questions whose "Ja" ends the list: every end screen is a place to walk back from.
void BM_CheckAnswersThatEndTheList(benchmark::State& state)
{
    CheckLongList(state, state.range(0),
                  [](std::int64_t i) -> std::string
                  {
                      const std::string n = std::to_string(i / 5);
                      switch (i % 5)
                      {
                      case 0:
                          return "Frage " + n + "?";
                      case 1:
                          return "ja" + n + "/nein" + n;
                      case 2:
                          return "%ja" + n;
                      case 3:
                          return "@";
                      default:
                          return "%nein" + n;
                      }
                  });
}
BENCHMARK(BM_CheckAnswersThatEndTheList)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// A picture a step, each named in other case than its file, in a folder of all the pictures.
void BM_CheckPicturesNamedInOtherCase(benchmark::State& state)
{
    CheckLongList(
        state, state.range(0),
        [](std::int64_t i) -> std::string
        {
            const std::string n = std::to_string(i / 2);
            return i % 2 == 0 ? "*bild" + n + ".png" : "Schritt " + n + ";";
        },
        static_cast<int>(state.range(0) / 2));
}
BENCHMARK(BM_CheckPicturesNamedInOtherCase)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
} // namespace
