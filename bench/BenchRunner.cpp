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

// "Zurück" and "Weiter" half way through a list of one-line steps without a sub-heading: a
// press must cost as much in a list of 100,000 lines as in one of ten.
void BM_StepBackAndOnHalfWayThroughList(benchmark::State& state)
{
    const auto lines = static_cast<int>(state.range(0));
    const CBenchFolder program;
    std::filesystem::create_directory(program.Folder() + "Thema");
    {
        std::ofstream list(program.Folder() + "Thema/lang.lst", std::ios::binary);
        for (int i = 0; i < lines; ++i)
            list << "Schritt " << i << ";\r\n";
    }
    CHeadlessSurface surface;
    CMainDialog dialog(surface, program.Folder());
    dialog.Create();
    surface.Click(ControlId::CentreButton);
    surface.Click(ControlId::MenuButton0);
    surface.Click(ControlId::MenuButton0);
    for (int i = 0; i < lines / 2; ++i)
        surface.Click(ControlId::RightButton);
    for (auto _ : state)
    {
        surface.Click(ControlId::CentreButton); // "Zurück"
        surface.Click(ControlId::RightButton);  // "Weiter"
        benchmark::DoNotOptimize(dialog.State().g_currentLine);
    }
}
BENCHMARK(BM_StepBackAndOnHalfWayThroughList)->Arg(10)->Arg(100000)->Unit(benchmark::kMicrosecond);
} // namespace
