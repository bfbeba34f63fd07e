#include "app/CommandLine.h"

#include "platform/CaseFolding.h"

#include <charconv>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

namespace
{
std::optional<int> ParseNumber(std::string_view text, int smallest, int largest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < smallest ||
        value > largest)
        return std::nullopt;
    return value;
}

std::optional<int> ParseDimension(std::string_view text)
{
    return ParseNumber(text, 1, 100000);
}

CommandLineResult Failure(Text error)
{
    return {std::nullopt, std::move(error)};
}

// The value of the option at `at`: after its "=", or the next argument, which is then used up.
// Nothing when neither is there.
std::optional<std::string_view> OptionValue(std::span<const std::string_view> arguments,
                                            std::size_t& at)
{
    const std::string_view argument = arguments[at];
    if (const auto equals = argument.find('='); equals != std::string_view::npos)
        return argument.substr(equals + 1);
    if (at + 1 < arguments.size())
        return arguments[++at];
    return std::nullopt;
}

// The choice that `value` names among `choices`; nothing for no value or one not among them.
template <typename Choice>
std::optional<Choice> ChoiceOf(std::optional<std::string_view> value,
                               std::initializer_list<std::pair<std::string_view, Choice>> choices)
{
    for (const auto& [name, choice] : choices)
    {
        if (value == name)
            return choice;
    }
    return std::nullopt;
}

CommandLineResult ParseGraph(std::span<const std::string_view> arguments)
{
    CommandLine result;
    result.mode = RunMode::Graph;
    for (std::size_t i = 1; i < arguments.size(); ++i)
    {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h")
        {
            result.mode = RunMode::Help;
            return {std::move(result), {}};
        }
        if (argument == "--format" || argument.starts_with("--format="))
        {
            const auto format =
                ChoiceOf<GraphFormat>(OptionValue(arguments, i), {{"dot", GraphFormat::Dot},
                                                                  {"svg", GraphFormat::Svg},
                                                                  {"json", GraphFormat::Json}});
            if (!format)
                return Failure("--format needs dot, svg or json");
            result.graphFormat = *format;
        }
        else if (argument == "-o" || argument == "--output" || argument.starts_with("--output="))
        {
            const auto file = OptionValue(arguments, i);
            if (!file || file->empty())
                return Failure("-o needs a file");
            result.outputFile = Text(*file);
        }
        else if (argument.starts_with("-") && argument != "-")
            return Failure("unknown argument '" + Text(argument) + "'");
        else
            result.paths.emplace_back(argument);
    }
    if (result.paths.size() != 1)
        return Failure("graph needs exactly one list");
    // The menus take the extension in any case; so does graph.
    if (!FoldLatin1Case(result.paths.front()).ends_with(".lst"))
        return Failure("'" + result.paths.front() + "' is not a list (a .lst file)");
    return {std::move(result), {}};
}
} // namespace

std::optional<Size> ParseSize(std::string_view text)
{
    const auto x = text.find('x');
    if (x == std::string_view::npos)
        return std::nullopt;
    const auto width = ParseDimension(text.substr(0, x));
    const auto height = ParseDimension(text.substr(x + 1));
    if (!width || !height)
        return std::nullopt;
    return Size{*width, *height};
}

CommandLineResult ParseCommandLine(std::span<const std::string_view> arguments)
{
    CommandLine result;
    std::size_t i = 0;
    const auto only = [](RunMode mode)
    {
        CommandLine line;
        line.mode = mode;
        return CommandLineResult{line, {}};
    };
    if (arguments.size() == 2 && arguments[0] == "help" && arguments[1] == "check")
        return only(RunMode::CheckHelp);
    if (arguments.size() == 1 && arguments[0] == "--version")
        return only(RunMode::Version);
    if (!arguments.empty() && arguments[0] == "play")
    {
        result.mode = RunMode::Play;
        i = 1;
    }
    else if (!arguments.empty() && arguments[0] == "check")
    {
        result.mode = RunMode::Check;
        for (i = 1; i < arguments.size(); ++i)
        {
            if (arguments[i] == "--help" || arguments[i] == "-h")
                return only(RunMode::CheckHelp);
            if (arguments[i] == "--json")
                result.checkFormat = CheckFormat::Json;
            else if (arguments[i] == "--format" || arguments[i].starts_with("--format="))
            {
                const auto format = ChoiceOf<CheckFormat>(OptionValue(arguments, i),
                                                          {{"gcc", CheckFormat::Gcc},
                                                           {"json", CheckFormat::Json},
                                                           {"sarif", CheckFormat::Sarif}});
                if (!format)
                    return Failure("--format needs gcc, json or sarif");
                result.checkFormat = *format;
            }
            else if (arguments[i].starts_with("-") && arguments[i] != "-")
                return Failure("unknown argument '" + Text(arguments[i]) + "'");
            else
                result.paths.emplace_back(arguments[i]);
        }
        if (result.paths.empty())
            return Failure("check needs a list, a topic folder or a program folder");
        return {std::move(result), {}};
    }
    else if (!arguments.empty() && arguments[0] == "graph")
        return ParseGraph(arguments);
    // Options that take a value accept it as the next argument or after "=".
    for (; i < arguments.size(); ++i)
    {
        std::string_view argument = arguments[i];
        std::optional<std::string_view> attached;
        if (argument.starts_with("--"))
        {
            const auto equals = argument.find('=');
            if (equals != std::string_view::npos)
            {
                attached = argument.substr(equals + 1);
                argument = argument.substr(0, equals);
            }
        }
        const auto value = [&]() -> std::optional<std::string_view>
        {
            if (attached)
                return attached;
            if (i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };
        const bool play = result.mode == RunMode::Play;

        if (argument == "--help" || argument == "-h")
        {
            CommandLine help;
            help.mode = RunMode::Help;
            return {help, {}};
        }
        if (argument == "--root")
        {
            const auto root = value();
            if (!root || root->empty())
                return Failure("--root needs a folder");
            result.root = Text(*root);
        }
        else if (argument == "--text" && !play && !attached)
            result.mode = RunMode::Terminal;
        else if (argument == "--fullscreen" && !play && !attached)
            result.windowMode = WindowMode::FullScreen;
        else if (argument == "--speak" && !play && !attached)
            result.speech = Speech::ReadAloud;
        else if (argument == "--watch" && !play && !attached)
            result.watch = ListWatch::On;
        else if (argument == "-platform" && !play)
        {
            // Qt's own option, left in the arguments for Qt; named here so that the window
            // knows whether it needs a display.
            const auto platform = value();
            if (!platform || platform->empty())
                return Failure("-platform needs the name of a Qt platform, such as linuxfb");
            result.qtPlatform = Text(*platform);
        }
        else if (argument == "--size" && !play)
        {
            const auto text = value();
            result.windowSize = text ? ParseSize(*text) : std::nullopt;
            if (!result.windowSize)
                return Failure("--size needs WIDTHxHEIGHT, such as 480x640");
        }
        else if (argument == "--tap-guard" && !play)
        {
            const auto text = value();
            result.tapGuardMilliseconds =
                text ? ParseNumber(*text, 0, LongestTapGuardMilliseconds) : std::nullopt;
            if (!result.tapGuardMilliseconds)
                return Failure("--tap-guard needs milliseconds from 0 to " +
                               std::to_string(LongestTapGuardMilliseconds) + ", such as 350");
        }
        else if (argument == "--theme" && !play)
        {
            const auto text = value();
            if (text == "day")
                result.theme = ColourTheme::Day;
            else if (text == "night")
                result.theme = ColourTheme::Night;
            else
                return Failure("--theme needs day or night");
        }
        else if (argument == "--screen" && play)
        {
            const auto text = value();
            const auto screen = text ? ParseSize(*text) : std::nullopt;
            if (!screen)
                return Failure("--screen needs WIDTHxHEIGHT, such as 240x320");
            result.screen = *screen;
        }
        else if (argument == "--events" && play)
        {
            const auto file = value();
            if (!file || file->empty())
                return Failure("--events needs a file, or - for standard input");
            result.eventsFile = Text(*file);
        }
        else if (argument == "--store" && play)
        {
            const auto text = value();
            if (text == "all")
                result.storeOutput = StoreOutput::EveryLine;
            else if (text == "changed")
                result.storeOutput = StoreOutput::WhenChanged;
            else
                return Failure("--store needs all or changed");
        }
        else if (play && !argument.starts_with("-"))
            result.events.emplace_back(argument);
        else
            return Failure("unknown argument '" + Text(arguments[i]) + "'");
    }
    if (result.mode == RunMode::Terminal &&
        (result.windowSize || result.tapGuardMilliseconds ||
         result.windowMode == WindowMode::FullScreen || result.speech == Speech::ReadAloud ||
         !result.qtPlatform.empty() || result.theme))
        return Failure("--text takes no window options");
    return {std::move(result), {}};
}

Text UsageText()
{
    return "Usage:\n"
           "  tavrino [--root DIR] [--fullscreen] [--size WxH] [--tap-guard MS]\n"
           "          [--theme day|night] [--speak] [--watch] [-platform NAME]\n"
           "                                                     the touch program in a window\n"
           "  tavrino --text [--root DIR] [--watch]              the same dialog in a terminal\n"
           "  tavrino play [--root DIR] [--screen WxH] [--events FILE|-]\n"
           "               [--store all|changed] [EVENT ...]     drive the dialog headless; one "
           "JSON\n"
           "                                                     line per screen\n"
           "  tavrino check [--format gcc|json|sarif] PATH ...   check lists for their authors; "
           "PATH\n"
           "                                                     is a list, a topic folder or a\n"
           "                                                     program folder; 'tavrino help\n"
           "                                                     check' explains its findings;\n"
           "                                                     --json is --format json\n"
           "  tavrino graph LIST [--format dot|svg|json] [-o FILE]\n"
           "                                                     the screens of a list and the\n"
           "                                                     buttons between them, as a graph\n"
           "  tavrino --version                                  the version\n"
           "Events: centre, left, right, picture, menu:N (N 0 to 5), tick, tick:N, size:WxH,\n"
           "close, reload\n"
           "DIR is the program folder, whose sub-folders are the topics; without --root it is the\n"
           "folder that holds the program, or the installed samples when no topic there holds\n"
           "a list.\n"
           "MS: taps this many milliseconds after the screen changed are dropped (350 unless\n"
           "given; 0 drops none). --store changed: the line store only on the first line and\n"
           "where it changed.\n"
           "--speak reads steps, questions and messages aloud; -platform NAME is Qt's own:\n"
           "eglfs or linuxfb draw on a device without a desktop.\n"
           "--watch reads the list on the screen again whenever its file changes, goes back to\n"
           "the same step, and writes the list's findings (as check does) on standard error.\n";
}
