// The running list. One pass over a long list whose jumps lead far: the cost must grow with the
// lines read, not with the lines times the jumps. "Zurück" deep in a long list: it must cost
// what it does in a short one.
#include "BenchFolder.h"
#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "platform/headless/HeadlessSurface.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace
{

enum class BlockStart
{
    Jump,    // a jump over the block's text lines to its label
    Comment, // the same lines read one by one: the pass without jumps to compare with
};

// A program folder with a list of `lines` lines in blocks of ten: a jump or a comment, eight
// text lines, and the label that closes the block. Neither list shows any of its text, so one
// pass runs through all of it and ends at the end screen.
class CLongListFolder
{
public:
    CLongListFolder(int lines, BlockStart start)
    {
        std::filesystem::create_directory(m_program.Folder() + "Thema");
        std::ofstream list(m_program.Folder() + "Thema/lang.lst", std::ios::binary);
        for (int i = 0; i < lines; i += 10)
        {
            list << (start == BlockStart::Jump ? "@m" : "# m") << i << "\r\n";
            for (int j = 1; j < 9; ++j)
                list << (start == BlockStart::Jump ? "Zeile " : "# Zeile ") << i + j << "\r\n";
            list << "%m" << i << "\r\n";
        }
    }
    const std::string& Folder() const { return m_program.Folder(); }

private:
    CBenchFolder m_program;
};

void PassOverLongList(benchmark::State& state, const std::string& folder)
{
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

void BM_PassOverHundredThousandLinesWithTenThousandJumps(benchmark::State& state)
{
    static const CLongListFolder program(100000, BlockStart::Jump);
    PassOverLongList(state, program.Folder());
}
BENCHMARK(BM_PassOverHundredThousandLinesWithTenThousandJumps)->Unit(benchmark::kMillisecond);

void BM_PassOverHundredThousandLinesWithoutJumps(benchmark::State& state)
{
    static const CLongListFolder program(100000, BlockStart::Comment);
    PassOverLongList(state, program.Folder());
}
BENCHMARK(BM_PassOverHundredThousandLinesWithoutJumps)->Unit(benchmark::kMillisecond);

// A list of `lines` one-line steps without a sub-heading, running in the headless dialog
// at the step half way through.
class CHalfWayThroughList
{
public:
    explicit CHalfWayThroughList(int lines) : m_dialog(m_surface, m_program.Folder())
    {
        std::filesystem::create_directory(m_program.Folder() + "Thema");
        {
            std::ofstream list(m_program.Folder() + "Thema/lang.lst", std::ios::binary);
            for (int i = 0; i < lines; ++i)
                list << "Schritt " << i << ";\r\n";
        }
        m_dialog.Create();
        m_surface.Click(ControlId::CentreButton);
        m_surface.Click(ControlId::MenuButton0);
        m_surface.Click(ControlId::MenuButton0);
        for (int i = 0; i < lines / 2; ++i)
            m_surface.Click(ControlId::RightButton);
    }

    void Click(int controlId) { m_surface.Click(controlId); }
    std::int32_t CurrentLine() const { return m_dialog.State().g_currentLine; }

private:
    CBenchFolder m_program;
    CHeadlessSurface m_surface;
    CMainDialog m_dialog;
};

// "Zurück" and "Weiter" half way through a list of one-line steps without a sub-heading: a
// press must cost as much in a list of 100,000 lines as in one of ten.
void BM_StepBackAndOnHalfWayThroughList(benchmark::State& state)
{
    CHalfWayThroughList list(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        list.Click(ControlId::CentreButton); // "Zurück"
        list.Click(ControlId::RightButton);  // "Weiter"
        benchmark::DoNotOptimize(list.CurrentLine());
    }
}
BENCHMARK(BM_StepBackAndOnHalfWayThroughList)->Arg(10)->Arg(100000)->Unit(benchmark::kMicrosecond);

// "Zurück" alone: it walks back over the lines before the step, "Weiter" only on.
void BM_StepBackHalfWayThroughList(benchmark::State& state)
{
    CHalfWayThroughList list(static_cast<int>(state.range(0)));
    for (auto _ : state)
    {
        const auto start = std::chrono::steady_clock::now();
        list.Click(ControlId::CentreButton); // "Zurück"
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        list.Click(ControlId::RightButton); // "Weiter", untimed
        benchmark::DoNotOptimize(list.CurrentLine());
    }
}
BENCHMARK(BM_StepBackHalfWayThroughList)
    ->Arg(10)
    ->Arg(100000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
} // namespace
