#pragma once

#include "platform/Text.h"

// Full path of the running program's own file; empty if the system does not tell it.
Text ProgramFilePath();

// The folder part of a path, up to and including its last "/"; empty when it has none.
Text FolderOfPath(std::string_view path);
