// The command line, and the events of `play`.
#include "app/CommandLine.h"
#include "frontends/DisplayCheck.h"
#include "frontends/PlayEvent.h"

#include <gtest/gtest.h>

namespace
{
CommandLineResult Parse(std::initializer_list<std::string_view> arguments)
{
    const std::vector<std::string_view> list(arguments);
    return ParseCommandLine(list);
}

TEST(CommandLine, ReadsEveryForm)
{
    auto window = Parse({"--root", "/x", "--fullscreen", "--size", "800x600"});
    ASSERT_TRUE(window.commandLine);
    EXPECT_EQ(window.commandLine->mode, RunMode::Window);
    EXPECT_EQ(window.commandLine->root, "/x");
    EXPECT_EQ(window.commandLine->windowMode, WindowMode::FullScreen);
    EXPECT_EQ(window.commandLine->windowSize, (Size{800, 600}));
    EXPECT_FALSE(window.commandLine->tapGuardMilliseconds);

    for (const auto& [arguments, milliseconds] :
         std::vector<std::pair<std::vector<std::string_view>, int>>{
             {{"--tap-guard", "0"}, 0},
             {{"--tap-guard=500"}, 500},
             {{"--size", "240x320", "--tap-guard", "10000"}, 10000}})
    {
        const auto guarded = ParseCommandLine(arguments);
        ASSERT_TRUE(guarded.commandLine) << arguments.back();
        EXPECT_EQ(guarded.commandLine->mode, RunMode::Window);
        EXPECT_EQ(guarded.commandLine->tapGuardMilliseconds, milliseconds);
    }

    EXPECT_FALSE(window.commandLine->theme);
    for (const auto& [arguments, theme] :
         std::vector<std::pair<std::vector<std::string_view>, ColourTheme>>{
             {{"--theme", "night"}, ColourTheme::Night},
             {{"--theme=day"}, ColourTheme::Day},
             {{"--theme", "day", "--theme", "night"}, ColourTheme::Night},
             {{"--fullscreen", "--theme", "night", "--size", "800x480"}, ColourTheme::Night}})
    {
        const auto themed = ParseCommandLine(arguments);
        ASSERT_TRUE(themed.commandLine) << arguments.back();
        EXPECT_EQ(themed.commandLine->mode, RunMode::Window);
        EXPECT_EQ(themed.commandLine->theme, theme);
    }
    auto kiosk = Parse({"--fullscreen", "--speak", "-platform", "linuxfb:fb=/dev/fb1"});
    ASSERT_TRUE(kiosk.commandLine);
    EXPECT_EQ(kiosk.commandLine->mode, RunMode::Window);
    EXPECT_EQ(kiosk.commandLine->speech, Speech::ReadAloud);
    EXPECT_EQ(kiosk.commandLine->qtPlatform, "linuxfb:fb=/dev/fb1");
    EXPECT_EQ(window.commandLine->speech, Speech::Silent);
    EXPECT_TRUE(window.commandLine->qtPlatform.empty());

    auto text = Parse({"--text", "--root=/y"});
    ASSERT_TRUE(text.commandLine);
    EXPECT_EQ(text.commandLine->mode, RunMode::Terminal);
    EXPECT_EQ(text.commandLine->root, "/y");
    EXPECT_EQ(text.commandLine->watch, ListWatch::Off);
    EXPECT_EQ(window.commandLine->watch, ListWatch::Off);
    for (const auto& [arguments, mode] :
         std::vector<std::pair<std::vector<std::string_view>, RunMode>>{
             {{"--watch"}, RunMode::Window},
             {{"--watch", "--text"}, RunMode::Terminal},
             {{"--text", "--root", "/y", "--watch"}, RunMode::Terminal}})
    {
        const auto watched = ParseCommandLine(arguments);
        ASSERT_TRUE(watched.commandLine) << arguments.back();
        EXPECT_EQ(watched.commandLine->mode, mode);
        EXPECT_EQ(watched.commandLine->watch, ListWatch::On);
    }

    auto play = Parse({"play", "--screen", "320x240", "--events", "-", "right", "tick:3"});
    ASSERT_TRUE(play.commandLine);
    EXPECT_EQ(play.commandLine->mode, RunMode::Play);
    EXPECT_EQ(play.commandLine->screen, (Size{320, 240}));
    EXPECT_EQ(play.commandLine->eventsFile, "-");
    EXPECT_EQ(play.commandLine->events, (std::vector<Text>{"right", "tick:3"}));
    EXPECT_EQ(play.commandLine->storeOutput, StoreOutput::EveryLine);
    EXPECT_EQ(Parse({"play", "--store", "changed"}).commandLine->storeOutput,
              StoreOutput::WhenChanged);
    EXPECT_EQ(Parse({"play", "--store=all"}).commandLine->storeOutput, StoreOutput::EveryLine);

    auto defaults = Parse({"play"});
    ASSERT_TRUE(defaults.commandLine);
    EXPECT_EQ(defaults.commandLine->screen, (Size{240, 320}));
    EXPECT_FALSE(defaults.commandLine->eventsFile);
}

TEST(CommandLine, HelpAndVersionStandAlone)
{
    const std::pair<std::vector<std::string_view>, RunMode> cases[] = {
        {{"--help"}, RunMode::Help},
        {{"play", "-h"}, RunMode::Help},
        {{"help", "check"}, RunMode::CheckHelp},
        {{"check", "--help"}, RunMode::CheckHelp},
        {{"check", "a.lst", "-h"}, RunMode::CheckHelp},
        {{"--version"}, RunMode::Version},
    };
    for (const auto& [arguments, mode] : cases)
    {
        const auto result = ParseCommandLine(arguments);
        ASSERT_TRUE(result.commandLine) << arguments.front();
        EXPECT_EQ(result.commandLine->mode, mode) << arguments.front();
    }
}

TEST(CommandLine, RefusesWhatItDoesNotKnow)
{
    const std::vector<std::vector<std::string_view>> bad = {
        {"--root"},
        {"--size", "800"},
        {"--size", "0x600"},
        {"--size", "800x"},
        {"--size", "-5x5"},
        {"--bogus"},
        {"right"},                   // events belong to play
        {"play", "--size", "10x10"}, // window options are not play's
        {"play", "--text"},
        {"play", "--screen", "axb"},
        {"play", "--events"},
        {"play", "--store"},
        {"play", "--store", "some"},
        {"--store", "changed"}, // play's option outside play
        {"--text", "--fullscreen"},
        {"--screen", "240x320"}, // play's option outside play
        {"--tap-guard"},
        {"--tap-guard", "-1"},
        {"--tap-guard", "10001"},
        {"--tap-guard", "350ms"},
        {"--tap-guard="},
        {"play", "--tap-guard", "350"},
        {"--text", "--tap-guard", "350"},
        {"--tap-guard", "0", "--text"},
        {"--theme"},
        {"--theme", "Night"},
        {"--theme", "dark"},
        {"--theme="},
        {"--text", "--theme", "night"}, // the terminal keeps its own colours
        {"--theme", "day", "--text"},
        {"play", "--theme", "night"}, // play draws nothing
        {"play", "--speak"},          // play never speaks
        {"--text", "--speak"},
        {"--speak=yes"},
        {"play", "--watch"}, // play reads again by its event reload
        {"--watch=yes"},
        {"check", "--watch", "x.lst"},
        {"-platform"},
        {"-platform", ""},
        {"play", "-platform", "offscreen"},
        {"--text", "-platform", "offscreen"},
        {"help"},
        {"help", "play"},
        {"--version", "--text"},
        {"check", "--version"},
    };
    for (const auto& arguments : bad)
    {
        const auto result = ParseCommandLine(arguments);
        EXPECT_FALSE(result.commandLine) << arguments.front();
        EXPECT_FALSE(result.error.empty());
    }
}

TEST(PlayEvents, ParseEveryKindAndRefuseTheRest)
{
    struct Case
    {
        const char* text;
        PlayEventKind kind;
        int menuIndex;
        std::int64_t count;
        Size size;
    };
    const Case good[] = {
        {"centre", PlayEventKind::Centre, 0, 1, {}},
        {" left ", PlayEventKind::Left, 0, 1, {}},
        {"right\r", PlayEventKind::Right, 0, 1, {}},
        {"picture", PlayEventKind::Picture, 0, 1, {}},
        {"menu:0", PlayEventKind::Menu, 0, 1, {}},
        {"menu:5", PlayEventKind::Menu, 5, 1, {}},
        {"tick", PlayEventKind::Tick, 0, 1, {}},
        {"tick:60", PlayEventKind::Tick, 0, 60, {}},
        {"tick:0", PlayEventKind::Tick, 0, 0, {}},
        {"size:320x240", PlayEventKind::Size, 0, 1, {320, 240}},
        {"close", PlayEventKind::Close, 0, 1, {}},
        {"reload", PlayEventKind::Reload, 0, 1, {}},
    };
    for (const auto& c : good)
    {
        const auto event = ParsePlayEvent(c.text);
        ASSERT_TRUE(event) << c.text;
        EXPECT_EQ(event->kind, c.kind) << c.text;
        EXPECT_EQ(event->menuIndex, c.menuIndex) << c.text;
        EXPECT_EQ(event->count, c.count) << c.text;
        EXPECT_EQ(event->size, c.size) << c.text;
    }
    for (const char* text : {"", "Centre", "center", "menu:6", "menu:-1", "menu:", "menu:1x",
                             "tick:-1", "tick:x", "size:320", "size:0x5", "click", "left right"})
        EXPECT_FALSE(ParsePlayEvent(text)) << text;
}

TEST(PlayEvents, SkipBlankAndCommentLines)
{
    EXPECT_TRUE(IsSkippedEventLine(""));
    EXPECT_TRUE(IsSkippedEventLine("   \r"));
    EXPECT_TRUE(IsSkippedEventLine("# a comment"));
    EXPECT_TRUE(IsSkippedEventLine("  # indented comment"));
    EXPECT_FALSE(IsSkippedEventLine("right # not a comment"));
}
TEST(DisplayCheck, AsksForADisplayOnlyWhereThePlatformNeedsOne)
{
    struct Case
    {
        const char* platform;
        const char* display;
        const char* waylandDisplay;
        bool reachable;
    };
    const Case cases[] = {
        {"", "", "", false},
        {"", ":0", "", true},
        {"", "", "wayland-0", true},
        {"xcb", "", "wayland-0", false},
        {"xcb", ":0", "", true},
        {"xcb:nograb", ":0", "", true},
        {"wayland", ":0", "", false},
        {"wayland", "", "wayland-0", true},
        {"wayland-egl", "", "wayland-0", true},
        {"eglfs", "", "", true},
        {"linuxfb", "", "", true},
        {"linuxfb:fb=/dev/fb1:size=800x480", "", "", true},
        {"offscreen", "", "", true},
        {"vnc:size=800x480", "", "", true},
        {"wayland;xcb", "", "", false},
        {"wayland;xcb", ":0", "", true},
        {"wayland;linuxfb", "", "", true},
        {";", "", "", false},
    };
    for (const Case& test : cases)
        EXPECT_EQ(DisplayLooksReachable({test.platform, test.display, test.waylandDisplay}),
                  test.reachable)
            << "'" << test.platform << "' DISPLAY='" << test.display << "' WAYLAND_DISPLAY='"
            << test.waylandDisplay << "'";
}
} // namespace
