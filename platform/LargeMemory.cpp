#include "platform/LargeMemory.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

void PreferLargePages(void* block, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    // Below one large page there is nothing to gain.
    constexpr std::size_t smallest = 2 * 1024 * 1024;
    if (bytes < smallest)
        return;
    const auto pageBytes = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto start = reinterpret_cast<std::uintptr_t>(block);
    // The whole pages that the block touches: advice on a part of a mapping would split it
    // in two, which realloc could then no longer move without copying.
    const std::uintptr_t first = start / pageBytes * pageBytes;
    const std::uintptr_t end = (start + bytes + pageBytes - 1) / pageBytes * pageBytes;
    if (end > first)
        ::madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
    (void)block;
    (void)bytes;
#endif
}
