// One pass over a long list whose jumps lead far: the cost must grow with the lines read,
// not with the lines times the jumps.
#include "BenchFolder.h"
#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "platform/headless/HeadlessSurface.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <fstream>

namespace
{

// A list of `lines` lines in blocks of ten: a jump over eight text lines to the label that
// closes the block. One pass runs through all of it and ends at the end screen.
const std::string& ProgramFolderWithLongList(int lines)
{
    static const CBenchFolder program;
    static const bool made = [lines]
    {
        std::filesystem::create_directory(program.Folder() + "Thema");
        std::ofstream list(program.Folder() + "Thema/lang.lst", std::ios::binary);
        for (int i = 0; i < lines; i += 10)
        {
            list << "@m" << i << "\r\n";
            for (int j = 1; j < 9; ++j)
                list << "Zeile " << i + j << "\r\n";
            list << "%m" << i << "\r\n";
        }
        return true;
    }();
    static_cast<void>(made);
    return program.Folder();
}

void BM_PassOverHundredThousandLinesWithTenThousandJumps(benchmark::State& state)
{
    const std::string& folder = ProgramFolderWithLongList(100000);
    CHeadlessSurface surface;
    CMainDialog dialog(surface, folder);
    dialog.Create();
    surface.Click(ControlId::CentreButton);
    surface.Click(ControlId::MenuButton0);
    for (auto _ : state)
    {
        surface.Click(ControlId::MenuButton0); // loads the list and runs its pass to the end
        benchmark::DoNotOptimize(dialog.State().g_currentLine);
        surface.Click(ControlId::RightButton); // "Ende": back to the sub-menu
    }
}
BENCHMARK(BM_PassOverHundredThousandLinesWithTenThousandJumps)->Unit(benchmark::kMillisecond);
} // namespace
