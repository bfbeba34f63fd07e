// Advice to the system on blocks of memory that grow to many megabytes, such as the text of a
// long list: held in large pages, such a block is filled with a fraction of the page faults.
#pragma once

#include <cstddef>

// Asks for large pages for the pages that the block touches, where the system has them.
// Changes nothing the program can see; does nothing for a block of a few pages.
void PreferLargePages(void* block, std::size_t bytes);
