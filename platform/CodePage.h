// The 8-bit code page of list files, and the UTF-8 files that today's editors write.
#pragma once

#include "platform/Text.h"

#include <cstddef>
#include <optional>
#include <string_view>

// Windows-1252 byte to its Unicode code point; the five bytes the code page leaves
// undefined map to the C1 control of the same value.
char32_t Windows1252ToUnicode(unsigned char byte);

// Converts the bytes of a list or text file to text. A file that starts with a UTF-8 byte
// order mark, or is valid UTF-8 and holds bytes above 0x7F, is read as UTF-8 (the mark is
// dropped); any other file as Windows-1252. Zero bytes are dropped one by one; the bytes
// after them are kept. One pass over the bytes.
Text DecodeFileBytes(std::string_view bytes);

// What an author may want to know of a file's bytes; offsets count from the file's start.
struct FileByteFacts
{
    bool readAsUtf8 = false;
    std::optional<std::size_t> firstZeroByte;
    // A byte that Windows-1252 leaves undefined, in a file read as Windows-1252.
    std::optional<std::size_t> firstUndefinedByte;
    // The first line end of another kind (CR LF, LF or CR) than the file's first one.
    std::optional<std::size_t> firstOtherLineEnd;
};

FileByteFacts AnalyseFileBytes(std::string_view bytes);

// The number, from 1, of the line that holds the byte at `offset`, with lines cut as the
// line store cuts them.
std::size_t LineNumberOfOffset(std::string_view bytes, std::size_t offset);
