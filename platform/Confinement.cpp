#include "platform/Confinement.h"

#include <system_error>

bool LiesOutside(const std::filesystem::path& path, const std::filesystem::path& folder)
{
    const std::filesystem::path inside = path.lexically_relative(folder);
    return inside.empty() || *inside.begin() == "..";
}

std::optional<std::filesystem::path> RealFolder(const std::filesystem::path& folder)
{
    std::error_code error;
    std::filesystem::path real = std::filesystem::canonical(folder, error);
    if (error)
        return std::nullopt;
    return real;
}

bool LeadsOut(const std::filesystem::path& path, const std::filesystem::path& realFolder)
{
    std::error_code error;
    const std::filesystem::path real = std::filesystem::canonical(path, error);
    return !error && LiesOutside(real, realFolder);
}
