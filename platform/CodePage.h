// The 8-bit code page of list files, and the UTF-8 files that today's editors write.
#pragma once

#include "platform/Text.h"

#include <string_view>

// Converts the bytes of a list or text file to text. A file that starts with a UTF-8 byte
// order mark, or is valid UTF-8 and holds bytes above 0x7F, is read as UTF-8 (the mark is
// dropped); any other file as Windows-1252. Zero bytes are dropped one by one; the bytes
// after them are kept. One pass over the bytes.
Text DecodeFileBytes(std::string_view bytes);
