// Building a menu page over a folder of many topics.
#include "BenchFolder.h"
#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "platform/headless/HeadlessSurface.h"

#include <benchmark/benchmark.h>
#include <filesystem>

namespace
{
// A program folder of `count` topic folders, made once per process.
const std::string& ProgramFolderWithTopics(int count)
{
    static const CBenchFolder program;
    static const bool made = [count]
    {
        for (int i = 0; i < count; ++i)
            std::filesystem::create_directory(program.Folder() + "Thema " +
                                              std::to_string(count - i));
        return true;
    }();
    static_cast<void>(made);
    return program.Folder();
}

void BM_MainMenuPageOfTenThousandFolders(benchmark::State& state)
{
    const std::string& folder = ProgramFolderWithTopics(10000);
    CHeadlessSurface surface;
    CMainDialog dialog(surface, folder);
    dialog.Create();
    surface.Click(ControlId::CentreButton);
    for (auto _ : state)
    {
        surface.Click(ControlId::CentreButton); // "Mehr"
        benchmark::DoNotOptimize(dialog.Store().Count());
    }
}
BENCHMARK(BM_MainMenuPageOfTenThousandFolders)->Unit(benchmark::kMillisecond);
} // namespace
