// The command line of `tavrino`, parsed without touching the file system.
#pragma once

#include "platform/ColourTheme.h"
#include "platform/Geometry.h"
#include "platform/Text.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

enum class RunMode
{
    Window, // the touch program
    Terminal,
    Play,
    Check,
    Graph,
    Help,
    CheckHelp, // what the checker's findings mean
    Version,
};

enum class WindowMode
{
    Windowed,
    FullScreen,
};

// Whether the window reads its steps, questions and message boxes aloud.
enum class Speech
{
    Silent,
    ReadAloud,
};

// Whether the window and the terminal read the list on the screen again when its files change.
enum class ListWatch
{
    Off,
    On,
};

// Which lines of `play` carry the line store.
enum class StoreOutput
{
    EveryLine,
    WhenChanged, // the first line, and those where the store changed since the line before
};

// How `check` writes its findings.
enum class CheckFormat
{
    Gcc,   // FILE:LINE: error|warning: TEXT, one a line, then a summary
    Json,  // one JSON object a finding, then one of the counts
    Sarif, // one SARIF 2.1.0 log
};

// How `graph` writes the flow of a list.
enum class GraphFormat
{
    Dot,
    Svg,
    Json,
};

// How long after the screen changed a tap is taken for a bounce, or a second tap meant for the
// screen before, and dropped.
inline constexpr int DefaultTapGuardMilliseconds = 350;
inline constexpr int LongestTapGuardMilliseconds = 10000;

struct CommandLine
{
    RunMode mode = RunMode::Window;
    Text root; // empty: the folder of the program file
    WindowMode windowMode = WindowMode::Windowed;
    std::optional<Size> windowSize;
    std::optional<int> tapGuardMilliseconds; // nothing: DefaultTapGuardMilliseconds
    std::optional<ColourTheme> theme;        // the window's; nothing: day
    Size screen{240, 320};                   // play's screen at start
    std::optional<Text> eventsFile;          // "-" for standard input
    std::vector<Text> events;
    StoreOutput storeOutput = StoreOutput::EveryLine;
    CheckFormat checkFormat = CheckFormat::Gcc;
    std::vector<Text> paths; // check: lists, topic folders or program folders; graph: one list
    GraphFormat graphFormat = GraphFormat::Dot;
    Text outputFile; // graph: empty for standard output
    Speech speech = Speech::Silent;
    ListWatch watch = ListWatch::Off;
    // Qt's own -platform NAME, which Qt reads from the arguments itself; empty when not given.
    Text qtPlatform;
};

struct CommandLineResult
{
    std::optional<CommandLine> commandLine; // nothing on a usage error
    Text error;                             // one line, without the program name
};

// `arguments` excludes the program name.
CommandLineResult ParseCommandLine(std::span<const std::string_view> arguments);

// "WxH" with both numbers from 1 to 100000; nothing otherwise.
std::optional<Size> ParseSize(std::string_view text);

// The usage text, ending with a line feed.
Text UsageText();

// The line that ends every usage error, pointing to the help.
inline constexpr std::string_view UsageHint = "see 'tavrino --help'";
