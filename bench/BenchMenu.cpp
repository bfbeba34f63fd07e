// Building a menu page over a folder of many topics.
#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "platform/headless/HeadlessSurface.h"

#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

namespace
{
std::string g_benchFolder;

void RemoveBenchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(g_benchFolder, ignored);
}

// A program folder of `count` topic folders, made once per process.
const std::string& ProgramFolderWithTopics(int count)
{
    if (g_benchFolder.empty())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavrino-bench-XXXXXX");
        if (mkdtemp(pattern.data()) == nullptr)
            std::abort();
        g_benchFolder = pattern + "/";
        std::atexit(RemoveBenchFolder);
        for (int i = 0; i < count; ++i)
            std::filesystem::create_directory(g_benchFolder + "Thema " + std::to_string(count - i));
    }
    return g_benchFolder;
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
