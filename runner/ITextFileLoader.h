// How a pass of the runner loads a further text file in place of the list's lines.
#pragma once

#include "platform/Text.h"

#include <cstdint>
#include <optional>
#include <utility>

// Tells two opened files apart, whatever names led to them.
using FileIdentity = std::pair<std::uint64_t, std::uint64_t>;

class ITextFileLoader
{
public:
    virtual ~ITextFileLoader() = default;

    // Opens the file that a text file line names (trimmed) and says which file it is;
    // nothing when it cannot be opened, after the loader has told the user so.
    virtual std::optional<FileIdentity> OpenTextFile(const Text& name) = 0;
    // Puts the lines of the file opened last in place of the store's.
    virtual void LoadOpenedTextFile() = 0;
};
