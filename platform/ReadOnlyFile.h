// A file opened for reading only. Only regular files open: a folder, a FIFO or a device
// (also behind a link) counts as a file that cannot be opened, so no read can wait for
// ever or run without end. A file longer than MaximumFileBytes counts as one that cannot
// be opened: no list is that long, and reading it would only fill the memory.
#pragma once

#include "platform/Text.h"

#include <cstddef>
#include <cstdint>
#include <utility>

inline constexpr std::uint64_t MaximumFileBytes = 256ull * 1024 * 1024;

class CReadOnlyFile
{
public:
    CReadOnlyFile() = default;
    ~CReadOnlyFile();
    CReadOnlyFile(const CReadOnlyFile&) = delete;
    CReadOnlyFile& operator=(const CReadOnlyFile&) = delete;

    // Opens an existing regular file by its full path. False when it cannot be opened;
    // nothing is reported.
    bool Open(const Text& path);
    // Length in bytes at the time of opening.
    std::uint64_t Length() const;
    // Which file is open: the same file under two names gives the same identity.
    std::pair<std::uint64_t, std::uint64_t> Identity() const { return m_identity; }
    // Reads up to `count` bytes; returns how many were read, 0 at the end or on an error.
    std::size_t Read(void* buffer, std::size_t count);
    void Close();

private:
    int m_descriptor = -1;
    std::uint64_t m_length = 0;
    std::pair<std::uint64_t, std::uint64_t> m_identity; // device and inode
};
