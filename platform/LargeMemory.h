// Blocks of memory for arrays that grow to many megabytes, such as the text of a long list,
// mapped from the system apart from the heap. Such a block starts on a large page and is held
// in large pages where the system has them, so that it is filled with a fraction of the page
// faults; and it grows by moving its pages, never by copying what it holds, whatever the heap
// has freed before.
#pragma once

#include <cstddef>

// The size of a large page; a block is mapped in whole large pages.
constexpr std::size_t LargePageBytes = 2 * 1024 * 1024;

// A new block of at least `bytes`, which the caller owns and gives back with UnmapLargeBlock.
// Null when the memory is not there.
void* MapLargeBlock(std::size_t bytes);

// The block of `oldBytes` at `block`, with room for `newBytes` now: the same place or another,
// holding what it held, up to the smaller of the two. Null when the memory is not there; the
// block is then unchanged and still the caller's.
void* RemapLargeBlock(void* block, std::size_t oldBytes, std::size_t newBytes);

// Gives back a block of `bytes` that MapLargeBlock or RemapLargeBlock gave.
void UnmapLargeBlock(void* block, std::size_t bytes);

// The bytes of all large blocks mapped now, in whole large pages: beside what the heap reports,
// the memory that the blocks take.
std::size_t LargeBlockBytes();
