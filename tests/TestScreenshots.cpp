// The screenshot program (screenshots/) drives the real window by its steps and saves what
// the window shows: each shot at the window's size and of the screen it was taken on, and a
// step it cannot do stops it with one line and status 1 instead of leaving a wrong picture.
#include "TestSupport.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace
{
struct Shot
{
    int exitStatus = -1;
    std::string errors;
};

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string Read(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs the program on the offscreen platform through `steps`, saving into `folder`.
Shot RunScreenshots(const CTemporaryFolder& folder, const std::string& steps,
                    const std::vector<std::string>& arguments)
{
    folder.Write("steps", steps);
    std::string command =
        "QT_QPA_PLATFORM=offscreen TAVRINO_SCREENSHOT_STEPS=" + Quoted(folder.Folder() + "steps") +
        " TAVRINO_SCREENSHOT_FOLDER=" + Quoted(folder.Folder()) +
        " TAVRINO_SCREENSHOT_SUFFIX=-x timeout 60 " + Quoted(TAVRINO_SCREENSHOTS_PROGRAM) +
        " --tap-guard 0 --root " + Quoted(TAVRINO_EXAMPLES);
    for (const std::string& argument : arguments)
        command += " " + Quoted(argument);
    command += " >/dev/null 2>" + Quoted(folder.Folder() + "errors");
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(folder.Path() / "errors")};
}

// Width and height from a PNG's header, or {0, 0} for what is no PNG.
std::pair<int, int> PngSize(const std::string& bytes)
{
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0)
        return {0, 0};
    const auto number = [&](std::size_t at)
    {
        int value = 0;
        for (std::size_t i = at; i < at + 4; ++i)
            value = value * 256 + static_cast<unsigned char>(bytes[i]);
        return value;
    };
    return {number(16), number(20)};
}

TEST(Screenshots, EachShotShowsItsScreenAtTheWindowSize)
{
    struct Case
    {
        std::string name;
        std::vector<std::string> arguments;
        std::pair<int, int> size;
    };
    const Case cases[] = {
        {"portrait", {"--root", TAVRINO_EXAMPLES, "--size", "240x320"}, {240, 320}},
        {"landscape by night",
         {"--root", TAVRINO_EXAMPLES, "--size", "320x240", "--theme", "night"},
         {320, 240}},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.name);
        CTemporaryFolder folder;
        const auto run =
            RunScreenshots(folder,
                           "# the start, a menu reached by a key, a list reached by taps\n"
                           "shot start\nkey Return\n\nshot menu\ntap Bremsen\n"
                           "tap Vollbremsprobe\nshot step\n",
                           c.arguments);
        ASSERT_EQ(run.exitStatus, 0) << run.errors;
        const std::string start = Read(folder.Path() / "start-x.png");
        const std::string menu = Read(folder.Path() / "menu-x.png");
        const std::string step = Read(folder.Path() / "step-x.png");
        EXPECT_EQ(PngSize(start), c.size);
        EXPECT_EQ(PngSize(menu), c.size);
        EXPECT_EQ(PngSize(step), c.size);
        // Each press had its effect before the next shot was taken.
        EXPECT_NE(start, menu);
        EXPECT_NE(menu, step);
    }
}

// A message box holds the tap that opened it in an event loop of its own: the steps after the
// tap still run, shoot the box and close it.
TEST(Screenshots, StepsGoOnWhileAMessageBoxIsOpen)
{
    CTemporaryFolder folder;
    const auto run = RunScreenshots(folder,
                                    "key Return\ntap Übung Fehlermeldungen\n"
                                    "tap 05 Sprungmarke fehlt\ntap Weiter\nshot box\n"
                                    "key Return\nshot closed\n",
                                    {"--root", TAVRINO_AUTHORING, "--size", "240x320"});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const std::string box = Read(folder.Path() / "box-x.png");
    EXPECT_EQ(PngSize(box), std::make_pair(240, 320));
    EXPECT_NE(box, Read(folder.Path() / "closed-x.png"));
}

TEST(Screenshots, AStepThatCannotBeDoneStopsTheRun)
{
    const std::pair<std::string, std::string> cases[] = {
        {"shot start\ntap Gibt es nicht\nshot menu\n",
         "tavrino-screenshots: line 2: no shown button reads 'Gibt es nicht'\n"},
        {"shot start\nklick Start\n", "line 2: cannot read 'klick Start'\n"},
        {"key\n", "line 1: cannot read 'key'\n"},
        {"wait bald\n", "line 1: cannot read 'wait bald'\n"},
        {"key Strg+Nirgends\n", "line 1: no key 'Strg+Nirgends'\n"},
    };
    for (const auto& [steps, message] : cases)
    {
        SCOPED_TRACE(steps);
        CTemporaryFolder folder;
        const auto run =
            RunScreenshots(folder, steps, {"--root", TAVRINO_EXAMPLES, "--size", "240x320"});
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_TRUE(run.errors.ends_with(message)) << run.errors;
        EXPECT_FALSE(fs::exists(folder.Path() / "menu-x.png"));
    }
}
} // namespace
