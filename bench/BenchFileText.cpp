#include "BenchFolder.h"
#include "platform/ReadOnlyFile.h"
#include "runner/FileText.h"
#include "runner/LineStore.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace
{

// List files of about 50 MB in a folder of their own, removed when the program ends: some
// two million short lines of German text with umlauts, ending in CR LF, in either code page,
// and a file of nothing but line feeds, the most lines a file of that size can hold.
class CListFiles
{
public:
    CListFiles()
    {
        WriteText("windows1252.lst", Encoding::Windows1252);
        WriteText("utf8.lst", Encoding::Utf8);
        std::ofstream(PathOf("linefeeds.lst"), std::ios::binary) << std::string(fileBytes, '\n');
    }
    Text PathOf(const char* name) const { return m_place.Folder() + name; }

private:
    static constexpr std::size_t fileBytes = 50'000'000;
    enum class Encoding
    {
        Windows1252,
        Utf8
    };

    void WriteText(const char* name, Encoding encoding) const
    {
        // Each word in UTF-8; the Windows-1252 form has one byte for each of its umlauts.
        static const char* const words[] = {
            "Bremse",       "pr\u00FCfen", "T\u00FCren",       "schlie\u00DFen", "Fahrschalter",
            "Stellung",     "Zug",         "\u00DCbergabe",    "Druckluft",      "Hauptschalter",
            "St\u00F6rung", "L\u00FCfter", "\u00F6ffnen",      "Spannung",       "F\u00FChrerstand",
            "gr\u00FCn",    "Signal",      "\u00C4u\u00DFeres"};
        constexpr std::size_t wordCount = std::size(words);
        // The words follow one another in no order that a branch predictor could learn,
        // as in a list that people wrote; the same seed gives the same file in every run.
        std::minstd_rand random(13);
        std::string bytes;
        bytes.reserve(fileBytes + 100);
        for (std::size_t i = 0; bytes.size() < fileBytes; ++i)
        {
            const std::size_t wordsInLine = 2 + random() % 3;
            for (std::size_t word = 0; word < wordsInLine; ++word)
            {
                if (word > 0)
                    bytes += ' ';
                const std::string_view text = words[random() % wordCount];
                bytes += encoding == Encoding::Utf8 ? std::string(text) : AsWindows1252(text);
            }
            bytes += i % 7 == 6 ? ";\r\n" : "\r\n";
        }
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }

    // The words hold only letters of Latin-1, whose code points are their Windows-1252 bytes.
    static std::string AsWindows1252(std::string_view utf8)
    {
        std::string bytes;
        for (std::size_t i = 0; i < utf8.size(); ++i)
        {
            const auto byte = static_cast<unsigned char>(utf8[i]);
            if (byte < 0x80)
                bytes += utf8[i];
            else
                bytes += static_cast<char>((byte & 0x03) << 6 |
                                           (static_cast<unsigned char>(utf8[++i]) & 0x3F));
        }
        return bytes;
    }

    CBenchFolder m_place;
};

const CListFiles& ListFiles()
{
    static const CListFiles files;
    return files;
}

void ReadListFile(benchmark::State& state, const char* name)
{
    const Text path = ListFiles().PathOf(name);
    std::int64_t bytes = 0;
    for (auto _ : state)
    {
        CReadOnlyFile file;
        if (!file.Open(path))
        {
            state.SkipWithError("list file cannot be opened");
            return;
        }
        bytes += static_cast<std::int64_t>(file.Length());
        LineStore store;
        AppendFileLines(file, store);
        benchmark::DoNotOptimize(store.Count());
    }
    state.SetBytesProcessed(bytes);
}

void BM_ReadWindows1252ListFile(benchmark::State& state)
{
    ReadListFile(state, "windows1252.lst");
}
BENCHMARK(BM_ReadWindows1252ListFile)->Unit(benchmark::kMillisecond);

void BM_ReadUtf8ListFile(benchmark::State& state)
{
    ReadListFile(state, "utf8.lst");
}
BENCHMARK(BM_ReadUtf8ListFile)->Unit(benchmark::kMillisecond);

void BM_ReadLineFeedsOnly(benchmark::State& state)
{
    ReadListFile(state, "linefeeds.lst");
}
BENCHMARK(BM_ReadLineFeedsOnly)->Unit(benchmark::kMillisecond);

// A menu of many folders or lists: every entry added sorted, then the first one read,
// which sorts what was added.
void BM_AddSortedMenu(benchmark::State& state)
{
    std::vector<Text> names;
    const char* prefixes[] = {"Bremse",
                              "\xC3\x9C"
                              "bergabe",
                              "Abfahrt", "\xC3\xA4ndern", "zug"};
    for (std::int64_t i = 0; i < state.range(0); ++i)
        names.push_back(prefixes[i % 5] + std::to_string(i * 7919 % state.range(0)) + ".lst");
    for (auto _ : state)
    {
        LineStore store;
        for (const Text& name : names)
            store.AddSorted(name);
        benchmark::DoNotOptimize(store.Count());
        benchmark::DoNotOptimize(store.GetText(0).size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AddSortedMenu)->Arg(10'000)->Unit(benchmark::kMillisecond);

} // namespace
