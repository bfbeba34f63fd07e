#include "BenchFolder.h"
#include "platform/ReadOnlyFile.h"
#include "runner/FileText.h"
#include "runner/LineStore.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace
{

// List files of about 10 MB in a folder of their own, removed when the program ends.
class CListFiles
{
public:
    CListFiles()
    {
        Write("windows1252.lst", "\xFC\xDF\xA7");
        Write("utf8.lst", "\xC3\xBC\xC3\x9F\xC2\xA7");
    }
    Text PathOf(const char* name) const { return m_place.Folder() + name; }

private:
    void Write(const char* name, const std::string& letters) const
    {
        std::string bytes;
        for (int i = 0; bytes.size() < 10'000'000; ++i)
        {
            bytes += "Schritt " + std::to_string(i) + ": Bremse pr" + letters + "fen;\r\n";
            if (i % 10 == 0)
                bytes += "\r\n?Weiter " + letters + "?:Ja:Nein\r\n";
        }
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
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
        store.AppendLines(ReadFileText(file));
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
