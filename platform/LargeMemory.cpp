#include "platform/LargeMemory.h"

#include <atomic>
#include <cstdint>
#include <sys/mman.h>

namespace
{

std::atomic<std::size_t> g_largeBlockBytes{0};

// Bytes rounded up to whole large pages; 0 when that would not fit.
std::size_t MappedBytes(std::size_t bytes)
{
    const std::size_t rounded = (bytes + LargePageBytes - 1) / LargePageBytes * LargePageBytes;
    return rounded < bytes ? 0 : rounded;
}

// Fresh pages for `bytes`, a multiple of LargePageBytes, starting on a large page: a block
// larger by one page is mapped, and what lies before and after the aligned part is given back.
char* MapAligned(std::size_t bytes)
{
    if (bytes == 0 || bytes > SIZE_MAX - LargePageBytes)
        return nullptr;
    void* mapped = ::mmap(nullptr, bytes + LargePageBytes, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t aligned = (start + LargePageBytes - 1) / LargePageBytes * LargePageBytes;
    if (aligned > start)
        ::munmap(mapped, aligned - start);
    const std::uintptr_t after = start + bytes + LargePageBytes - (aligned + bytes);
    if (after > 0)
        ::munmap(reinterpret_cast<void*>(aligned + bytes), after);
    auto* block = reinterpret_cast<char*>(aligned);
    g_largeBlockBytes += bytes;
#ifdef MADV_HUGEPAGE
    // Only advice: where the system has no large pages, the block works all the same.
    ::madvise(block, bytes, MADV_HUGEPAGE);
#endif
    return block;
}

} // namespace

void* MapLargeBlock(std::size_t bytes)
{
    return MapAligned(MappedBytes(bytes));
}

void* RemapLargeBlock(void* block, std::size_t oldBytes, std::size_t newBytes)
{
    const std::size_t oldMapped = MappedBytes(oldBytes);
    const std::size_t newMapped = MappedBytes(newBytes);
    if (newMapped == 0)
        return nullptr;
    if (newMapped == oldMapped)
        return block;
    auto* start = static_cast<char*>(block);
    if (newMapped < oldMapped)
    {
        ::munmap(start + newMapped, oldMapped - newMapped);
        g_largeBlockBytes -= oldMapped - newMapped;
        return block;
    }
    // In place where the pages after it are free; otherwise its pages are moved to the start
    // of a fresh block, which keeps them large.
    if (::mremap(block, oldMapped, newMapped, 0) != MAP_FAILED)
    {
        g_largeBlockBytes += newMapped - oldMapped;
        return block;
    }
    char* moved = MapAligned(newMapped);
    if (moved == nullptr)
        return nullptr;
    if (::mremap(block, oldMapped, oldMapped, MREMAP_MAYMOVE | MREMAP_FIXED, moved) == MAP_FAILED)
    {
        UnmapLargeBlock(moved, newMapped);
        return nullptr;
    }
    // Its pages now lie over the fresh block's, which counts for both.
    g_largeBlockBytes -= oldMapped;
    return moved;
}

void UnmapLargeBlock(void* block, std::size_t bytes)
{
    if (block == nullptr)
        return;
    ::munmap(block, MappedBytes(bytes));
    g_largeBlockBytes -= MappedBytes(bytes);
}

std::size_t LargeBlockBytes()
{
    return g_largeBlockBytes;
}
