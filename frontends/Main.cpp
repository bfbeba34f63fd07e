// tavrino: the touch program, its terminal form, and `play`.
#include "app/CommandLine.h"
#include "app/RunnerApp.h"
#include "frontends/CheckCommand.h"
#include "frontends/GraphCommand.h"
#include "frontends/PlayShell.h"
#include "frontends/TerminalShell.h"
#include "frontends/WindowShell.h"
#include "platform/ProgramFile.h"
#include "platform/ProgramFolder.h"
#include "platform/qt/QtPictureDecoder.h"

#include <QCoreApplication>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <unistd.h>
#include <vector>

namespace
{
// The program folder as an absolute path ending with "/", or an error line.
std::optional<Text> ResolveRoot(const Text& root, Text& error)
{
    std::error_code code;
    const auto absolute = std::filesystem::absolute(root, code);
    if (code || !std::filesystem::exists(absolute, code))
    {
        error = "tavrino: '" + root + "' does not exist";
        return std::nullopt;
    }
    if (!std::filesystem::is_directory(absolute, code))
    {
        error = "tavrino: '" + root + "' is not a folder";
        return std::nullopt;
    }
    Text folder = absolute.lexically_normal().string();
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

// The program folder when no --root names one: empty for the folder of the program file, as a
// portable folder or the build has it; else the samples of an installed package, looked for
// first beside the program's own prefix (so that `cmake --install --prefix` works anywhere),
// then where the build meant to install them.
Text DefaultRoot()
{
    const Text besideProgram = FolderOfPath(ProgramFilePath());
    std::vector<Text> dataFolders;
    // Without the program's own path a relative folder would be taken from the working folder.
    if (!besideProgram.empty())
        dataFolders.push_back(besideProgram + TAVRINO_DATA_FROM_PROGRAM);
    dataFolders.push_back(TAVRINO_DATA_FOLDER);
    const Text chosen = ChooseProgramFolder(besideProgram, dataFolders);
    return chosen == besideProgram ? Text{} : chosen;
}

int RunPlay(const CommandLine& commandLine, const Text& root, int argc, char** argv)
{
    // Picture decoding needs QtGui's image readers, not a display.
    QCoreApplication application(argc, argv);
    CQtPictureDecoder decoder;
    std::ifstream file;
    std::istream* events = nullptr;
    Text eventsName;
    if (commandLine.eventsFile)
    {
        eventsName = *commandLine.eventsFile;
        if (eventsName == "-")
        {
            events = &std::cin;
            eventsName = "<stdin>";
        }
        else
        {
            file.open(eventsName);
            if (!file)
            {
                std::cerr << "tavrino play: cannot read events file '" << eventsName << "'\n";
                return 2;
            }
            events = &file;
        }
    }
    CPlayShell shell(commandLine, &decoder, events, eventsName, std::cout, std::cerr);
    return CRunnerApp().InitInstance(shell, root);
}

int RunChecker(const CommandLine& commandLine, int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    CQtPictureDecoder decoder;
    return RunCheck(commandLine, &decoder, std::cout, std::cerr);
}

int RunGrapher(const CommandLine& commandLine, int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    CQtPictureDecoder decoder;
    return RunGraph(commandLine, &decoder, std::cout, std::cerr);
}

int RunTerminal(const CommandLine& commandLine, const Text& root, int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    CQtPictureDecoder decoder;
    CTerminalShell shell(&decoder, STDIN_FILENO, std::cout);
    if (commandLine.watch == ListWatch::On)
        shell.WatchList(std::cerr);
    return CRunnerApp().InitInstance(shell, root);
}
} // namespace

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = ParseCommandLine(arguments);
    if (!parsed.commandLine)
    {
        std::cerr << "tavrino: " << parsed.error << "; " << UsageHint << "\n";
        return 2;
    }
    const CommandLine& commandLine = *parsed.commandLine;
    switch (commandLine.mode)
    {
    case RunMode::Help:
        std::cout << UsageText();
        return 0;
    case RunMode::CheckHelp:
        std::cout << CheckHelpText();
        return 0;
    case RunMode::Version:
        std::cout << "tavrino " << TAVRINO_VERSION << "\n";
        return 0;
    default:
        break;
    }
    Text root;
    if (commandLine.root.empty() && commandLine.mode != RunMode::Check)
        root = DefaultRoot();
    else if (!commandLine.root.empty())
    {
        Text error;
        const auto resolved = ResolveRoot(commandLine.root, error);
        if (!resolved)
        {
            std::cerr << error << "\n";
            return 2;
        }
        root = *resolved;
    }
    switch (commandLine.mode)
    {
    case RunMode::Play:
        return RunPlay(commandLine, root, argc, argv);
    case RunMode::Check:
        return RunChecker(commandLine, argc, argv);
    case RunMode::Graph:
        return RunGrapher(commandLine, argc, argv);
    case RunMode::Terminal:
        return RunTerminal(commandLine, root, argc, argv);
    default:
        return RunWindow(commandLine, root, argc, argv);
    }
}
