#include "platform/NamedFile.h"

#include "platform/Confinement.h"

#include <filesystem>
#include <system_error>

namespace
{
namespace fs = std::filesystem;

bool Exists(const fs::path& path)
{
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// A link inside the program folder may lead anywhere ("etc" -> /etc): a file counts only when
// its real path lies inside the folder's real path. A link that leads nowhere stays as found;
// opening it fails as for any file that cannot be read.
NamedFile ConfinedByRealPath(const fs::path& root, NamedFile result)
{
    const auto realRoot = RealFolder(root);
    if (realRoot && LeadsOut(*result.foundPath, *realRoot))
    {
        result.foundPath.reset();
        result.foundByOtherCase = false;
        result.outsideProgramFolder = true;
    }
    return result;
}
} // namespace

NamedFile FindNamedFile(const Text& programFolder, const Text& listFolder, std::string_view name,
                        CFolderNameIndex* folders)
{
    // Without a kept index a look-up reads the folders it needs afresh.
    CFolderNameIndex fresh;
    CFolderNameIndex& index = folders != nullptr ? *folders : fresh;
    Text relative(name);
    for (char& c : relative)
    {
        if (c == '\\')
            c = '/';
    }
    NamedFile result;
    result.shownPath = listFolder + relative;

    // Only names that stay inside the program folder count.
    const fs::path root = fs::path(programFolder).lexically_normal();
    const fs::path full = fs::path(result.shownPath).lexically_normal();
    if (LiesOutside(full, root))
    {
        result.outsideProgramFolder = true;
        return result;
    }

    if (Exists(full))
    {
        result.foundPath = full.string();
        return ConfinedByRealPath(root, std::move(result));
    }
    fs::path found = root;
    for (const auto& part : full.lexically_relative(root))
    {
        if (part == ".")
            continue;
        if (Exists(found / part))
            found /= part;
        else if (auto other = index.FindIgnoringCase(found, part))
        {
            found = std::move(*other);
            result.foundByOtherCase = true;
        }
        else
            return result;
    }
    result.foundPath = found.string();
    return ConfinedByRealPath(root, std::move(result));
}
