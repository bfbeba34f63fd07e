#include "frontends/PathNaming.h"

Text AsFolder(const std::filesystem::path& path)
{
    Text folder = path.lexically_normal().string();
    if (folder.empty() || folder == ".")
        return "./";
    if (folder.back() != '/')
        folder += '/';
    return folder;
}

Text ShownPath(const Text& file, const std::vector<FolderNaming>& namings)
{
    const FolderNaming* best = nullptr;
    for (const auto& naming : namings)
    {
        if (file.starts_with(naming.absolute) &&
            (best == nullptr || naming.absolute.size() > best->absolute.size()))
            best = &naming;
    }
    if (best == nullptr)
        return file;
    Text shown = best->shown + file.substr(best->absolute.size());
    return shown.starts_with("./") ? shown.substr(2) : shown;
}
