#include "runner/FileText.h"

#include "platform/CodePage.h"
#include "runner/LineFiller.h"

#include <algorithm>

namespace
{

constexpr std::size_t blockBytes = 64 * 1024;

} // namespace

std::string ReadFileBytes(CReadOnlyFile& file)
{
    // The file may have grown or shrunk since it was opened: read until the end comes,
    // whatever Length said, but never past the limit that the open enforced.
    constexpr auto limit = static_cast<std::size_t>(MaximumFileBytes);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(std::min(file.Length(), MaximumFileBytes)) + 1);
    while (bytes.size() < limit)
    {
        // Fill the room reserved first: a block beyond it would leave every file, however
        // short, holding a block and more. Only a file that has grown needs another block.
        const std::size_t filled = bytes.size();
        const std::size_t room = bytes.capacity() - filled;
        const std::size_t wanted = std::min(room > 0 ? room : blockBytes, limit - filled);
        bytes.resize(filled + wanted);
        const std::size_t read = file.Read(bytes.data() + filled, wanted);
        bytes.resize(filled + read);
        if (read == 0)
            break;
    }
    return bytes;
}

Text ReadFileText(CReadOnlyFile& file)
{
    return DecodeFileBytes(ReadFileBytes(file));
}

void AppendFileLines(CReadOnlyFile& file, LineStore& store)
{
    constexpr auto limit = static_cast<std::size_t>(MaximumFileBytes);
    CLineFiller filler(store, std::min(file.Length(), MaximumFileBytes));
    std::size_t total = 0;
    while (total < limit)
    {
        const std::span<char> room = filler.Room();
        const std::size_t read = file.Read(room.data(), std::min(room.size(), limit - total));
        if (read == 0)
            break;
        total += read;
        filler.Take(read);
    }
    filler.Finish();
}
