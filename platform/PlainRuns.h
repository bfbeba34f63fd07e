// The plain lines of a list file's bytes, read many at a time where the processor can:
// text of characters of one or two bytes, with lines that end in LF or CR LF, which is nearly
// all of a German list. Whatever is not plain is left to the reader that goes byte by byte, so
// that this only makes the common case fast and never decides anything of its own.
#pragma once

#include <cstddef>
#include <cstdint>

enum class PlainCoding
{
    Utf8,
    Windows1252,
};

struct PlainLines
{
    const char* in;
    char* out;
    std::uint32_t* ends; // after the last line end written
};

// Reads from `in` toward `end` thirty-two bytes at a time while more than that remain, writing
// the text without its line ends to `out`, and for each line end the length of the text up to
// it, counted from `textStart`, to `ends`. UTF-8 is copied as it is; Windows-1252 is decoded.
//
// Stops before the thirty-two bytes that hold what it does not take: a control byte other
// than a line end (a zero byte, a tab), a CR that no LF follows, a UTF-8 sequence of three or
// four bytes or one that is not valid, a Windows-1252 byte from 0x80 to 0x9F. Stops too when
// fewer than thirty-two places remain before `endsLimit`. The result says how far each got.
//
// `out` needs room for what remains to read (twice that for Windows-1252) and sixteen bytes
// more, since bytes beyond the text it gives may be written, and no text may lie 4 GiB or more
// past `textStart`. Takes nothing where the processor cannot shuffle bytes.
PlainLines SplitPlainLines(const char* in, const char* end, char* out, const char* textStart,
                           std::uint32_t* ends, std::uint32_t* endsLimit, PlainCoding coding);
