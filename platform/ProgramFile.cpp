#include "platform/ProgramFile.h"

#include <filesystem>
#include <system_error>

Text ProgramFilePath()
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? Text{} : path.string();
}

Text FolderOfPath(std::string_view path)
{
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? Text{} : Text(path.substr(0, slash + 1));
}
