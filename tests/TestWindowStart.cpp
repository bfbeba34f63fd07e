// The window program where no window can be opened: one line, and status 2.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace
{
TEST(WindowStart, WithoutADisplaySaysSoAndNamesTheTerminalVersion)
{
    CTemporaryFolder root;
    struct Case
    {
        const char* name;
        std::vector<std::string> environment;
    };
    const Case cases[] = {
        {"nothing set", {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}},
        {"empty names", {"QT_QPA_PLATFORM=", "DISPLAY=", "WAYLAND_DISPLAY="}},
        {"desktop platform asked for", {"QT_QPA_PLATFORM=xcb", "DISPLAY", "WAYLAND_DISPLAY"}},
        // Named, but no server answers there.
        {"display unreachable",
         {"QT_QPA_PLATFORM=xcb", "DISPLAY=:7391", "WAYLAND_DISPLAY", "XAUTHORITY=/nonexistent"}},
    };
    for (const Case& test : cases)
    {
        const auto run =
            RunProgramWithEnvironment({"--root", root.Path().string()}, test.environment);
        EXPECT_EQ(run.exitStatus, 2) << test.name << "\n" << run.errors;
        EXPECT_NE(run.errors.find("tavrino --text"), std::string::npos) << test.name;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << test.name << "\n"
                                                                             << run.errors;
        EXPECT_TRUE(run.output.empty()) << test.name;
    }
}

// A device platform without its device: linuxfb with no framebuffer starts Qt without a
// screen, where the first widget used to crash the program.
TEST(WindowStart, DevicePlatformWithoutItsDeviceSaysSoInOneLine)
{
    CTemporaryFolder root;
    const std::string platform = "linuxfb:fb=" + (root.Path() / "no-framebuffer").string();
    struct Case
    {
        const char* name;
        std::vector<std::string> arguments;
        std::vector<std::string> environment;
    };
    const Case cases[] = {
        {"named by QT_QPA_PLATFORM",
         {"--root", root.Path().string()},
         {"QT_QPA_PLATFORM=" + platform, "DISPLAY", "WAYLAND_DISPLAY"}},
        {"named by -platform",
         {"--root", root.Path().string(), "-platform", platform},
         {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}},
        {"-platform wins over QT_QPA_PLATFORM",
         {"-platform", platform, "--root", root.Path().string(), "--fullscreen"},
         {"QT_QPA_PLATFORM=xcb", "DISPLAY", "WAYLAND_DISPLAY"}},
    };
    for (const Case& test : cases)
    {
        const auto run = RunProgramWithEnvironment(test.arguments, test.environment);
        EXPECT_EQ(run.exitStatus, 2) << test.name << "\n" << run.errors;
        EXPECT_NE(run.errors.find("'" + platform + "' found no screen"), std::string::npos)
            << test.name << "\n"
            << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << test.name << "\n"
                                                                             << run.errors;
        EXPECT_TRUE(run.output.empty()) << test.name;
    }
}
} // namespace
