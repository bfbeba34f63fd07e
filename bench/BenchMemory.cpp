// Memory that the dialog keeps per line of a loaded list, against what it held on the sub-menu
// before: the line store and whatever is kept beside it while the list runs. Read from the
// allocator and the count of large blocks after the load, so that buffers freed on the way do
// not count.
#include "BenchFolder.h"
#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "platform/LargeMemory.h"
#include "platform/headless/HeadlessSurface.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <malloc.h>

namespace
{
constexpr int LineCount = 1'000'000;

enum class LineShape
{
    Step24, // one-line steps of 24 bytes of text each
    Empty,  // empty lines, then one step so that the list has something to show
};

std::size_t MemoryInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd + LargeBlockBytes();
}

void StoredLineBytes(benchmark::State& state, LineShape shape)
{
    const CBenchFolder program;
    std::filesystem::create_directory(program.Folder() + "Thema");
    {
        std::ofstream list(program.Folder() + "Thema/lang.lst", std::ios::binary);
        char line[32];
        for (int i = 0; i < LineCount; ++i)
        {
            if (shape == LineShape::Step24)
            {
                std::snprintf(line, sizeof line, "Schritt %07d: Bremse;\r\n", i);
                list << line;
            }
            else
                list << "\n";
        }
        if (shape == LineShape::Empty)
            list << "Ende;\n";
    }
    double bytesPerLine = 0;
    std::int32_t stored = 0;
    for (auto _ : state)
    {
        CHeadlessSurface surface;
        CMainDialog dialog(surface, program.Folder());
        dialog.Create();
        surface.Click(ControlId::CentreButton);
        surface.Click(ControlId::MenuButton0);
        const std::size_t before = MemoryInUse();
        surface.Click(ControlId::MenuButton0); // loads the list and shows its first step
        const std::size_t after = MemoryInUse();
        stored = dialog.Store().Count();
        bytesPerLine = (static_cast<double>(after) - static_cast<double>(before)) / LineCount;
    }
    state.counters["bytes_per_line"] = bytesPerLine;
    // Fewer than LineCount means the list was not loaded as meant, and the figure says nothing.
    state.counters["lines"] = stored;
}

void BM_HeapPerStoredLineOf24Bytes(benchmark::State& state)
{
    StoredLineBytes(state, LineShape::Step24);
}
BENCHMARK(BM_HeapPerStoredLineOf24Bytes)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_HeapPerStoredEmptyLine(benchmark::State& state)
{
    StoredLineBytes(state, LineShape::Empty);
}
BENCHMARK(BM_HeapPerStoredEmptyLine)->Iterations(1)->Unit(benchmark::kMillisecond);
} // namespace
