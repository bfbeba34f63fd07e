// Whether a path lies inside a folder: by how it is written, or by where its links lead. The
// program reads only what lies inside its program folder.
#pragma once

#include <filesystem>
#include <optional>

// True when `path` names a place outside `folder`, both taken as written: normalise them first.
bool LiesOutside(const std::filesystem::path& path, const std::filesystem::path& folder);

// The real path of `folder`, its links resolved; nothing when it cannot be resolved.
std::optional<std::filesystem::path> RealFolder(const std::filesystem::path& folder);

// True when the real path of `path` lies outside `realFolder`. A path that cannot be resolved
// (a link that leads nowhere) does not lead out: opening it fails on its own.
bool LeadsOut(const std::filesystem::path& path, const std::filesystem::path& realFolder);
