#include "TestSupport.h"

#include "platform/ControlId.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

CTemporaryFolder::CTemporaryFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tavrino-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    m_path = pattern;
}

CTemporaryFolder::~CTemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::filesystem::path CTemporaryFolder::Write(const std::filesystem::path& relative,
                                              std::string_view bytes) const
{
    const auto path = m_path / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::filesystem::path CTemporaryFolder::MakeFolder(const std::filesystem::path& relative) const
{
    std::filesystem::create_directories(m_path / relative);
    return m_path / relative;
}

namespace
{
class CFakePicture final : public CPicture
{
public:
    CFakePicture(Text file, int width, int height)
        : m_file(std::move(file)), m_width(width), m_height(height)
    {
    }
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    const Text& SourceFile() const override { return m_file; }

private:
    Text m_file;
    int m_width;
    int m_height;
};
} // namespace

PictureHandle CFakePictureDecoder::Load(const Text& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return nullptr;
    std::ifstream file(path);
    std::string word;
    int width = 0;
    int height = 0;
    char x = 0;
    if (!(file >> word >> width >> x >> height) || word != "PICTURE" || x != 'x' || width <= 0 ||
        height <= 0)
        return nullptr;
    return std::make_shared<CFakePicture>(path, width, height);
}

PictureHandle CFakePictureDecoder::Stretch(const PictureHandle& source, int width, int height)
{
    if (!source || width <= 0 || height <= 0)
        return nullptr;
    return std::make_shared<CFakePicture>(source->SourceFile(), width, height);
}

CDialogHarness::CDialogHarness(Text programFolder, Size screen)
    : m_surface(&m_decoder, screen), m_dialog(m_surface, std::move(programFolder))
{
    if (!m_dialog.Create())
        std::abort();
}

bool CDialogHarness::IsShown(int id) const
{
    const auto& controls = m_surface.Controls();
    const auto found = controls.find(id);
    return found != controls.end() && found->second.visibility == Visibility::Shown;
}

std::vector<int> CDialogHarness::ShownControls() const
{
    std::vector<int> shown;
    for (const auto& [id, control] : m_surface.Controls())
    {
        if (control.visibility == Visibility::Shown)
            shown.push_back(id);
    }
    return shown;
}

namespace
{
std::string ReadWhole(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
} // namespace

namespace
{
// `prefix` is a command that runs the program, or empty to run it directly.
ProgramRun Spawn(const std::vector<std::string>& arguments, std::string_view input,
                 char* const* environment, const std::vector<std::string>& prefix = {},
                 const std::string& program = TAVRINO_PROGRAM)
{
    CTemporaryFolder files;
    const auto inputPath = files.Write("input", input);
    const auto outputPath = files.Path() / "output";
    const auto errorsPath = files.Path() / "errors";

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inputPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    std::vector<std::string> all = prefix;
    all.push_back(program);
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& argument : all)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    ProgramRun run;
    pid_t child = 0;
    const bool spawned = prefix.empty() ? posix_spawn(&child, program.c_str(), &actions, nullptr,
                                                      argv.data(), environment) == 0
                                        : posix_spawnp(&child, prefix[0].c_str(), &actions, nullptr,
                                                       argv.data(), environment) == 0;
    if (spawned)
    {
        int status = 0;
        waitpid(child, &status, 0);
        run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.output = ReadWhole(outputPath);
    run.errors = ReadWhole(errorsPath);
    return run;
}
} // namespace

ProgramRun RunProgram(const std::vector<std::string>& arguments, std::string_view input)
{
    return Spawn(arguments, input, environ);
}

ProgramRun RunProgramFile(const std::filesystem::path& program,
                          const std::vector<std::string>& arguments)
{
    return Spawn(arguments, {}, environ, {}, program.string());
}

ProgramRun RunProgramUnprivileged(const std::vector<std::string>& arguments)
{
    if (geteuid() != 0)
        return Spawn(arguments, {}, environ);
    // Root reads every folder whatever its permissions; nobody does not.
    return Spawn(arguments, {}, environ,
                 {"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
}

ProgramRun RunProgramWithEnvironment(const std::vector<std::string>& arguments,
                                     const std::vector<std::string>& changes)
{
    std::vector<std::string> variables;
    for (char** variable = environ; *variable != nullptr; ++variable)
        variables.emplace_back(*variable);
    for (const std::string& change : changes)
    {
        const std::string name = change.substr(0, change.find('='));
        std::erase_if(variables, [&](const std::string& variable)
                      { return variable.starts_with(name + "="); });
        if (change.find('=') != std::string::npos)
            variables.push_back(change);
    }
    std::vector<char*> pointers;
    for (std::string& variable : variables)
        pointers.push_back(variable.data());
    pointers.push_back(nullptr);
    return Spawn(arguments, {}, pointers.data());
}

std::vector<std::string> SplitLines(std::string_view text)
{
    std::vector<std::string> lines;
    while (!text.empty())
    {
        const auto end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}
