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

// The instruction sets the reading can use, from none to the widest.
enum class PlainInstructions
{
    None,   // only the reader that goes by words and bytes
    Ssse3,  // sixteen bytes in a register, shuffled
    Avx2,   // thirty-two
    Avx512, // sixty-four, with the byte compress of VBMI2
};

// Each of them, from none to the widest.
constexpr PlainInstructions EveryPlainInstructions[] = {
    PlainInstructions::None, PlainInstructions::Ssse3, PlainInstructions::Avx2,
    PlainInstructions::Avx512};

// The widest that this processor has.
PlainInstructions AvailablePlainInstructions();
// Narrows what the reading uses to at most `widest`, so that tests can hold each way of
// reading against the others on one processor. Not for use while a file is being read.
void LimitPlainInstructions(PlainInstructions widest);

struct PlainLines
{
    const char* in;
    char* out;
    std::uint32_t* ends; // after the last line end written
};

// Reads from `in` toward `end` sixteen to sixty-four bytes at a time while enough remain, writing
// the text without its line ends to `out`, and for each line end the length of the text up to
// it, counted from `textStart`, to `ends`. UTF-8 is copied as it is; Windows-1252 is decoded.
//
// Stops at what it does not take: a control byte other than a line end (a zero byte, a tab),
// a CR that no LF follows, a UTF-8 sequence of three or four bytes or one that is not valid, a
// Windows-1252 byte from 0x80 to 0x9F; the bytes before it may or may not have been taken.
// May stop too when fewer than seventy-two bytes remain to read, or fewer than sixty-four
// places before `endsLimit`. The result says how far each got.
//
// `out` needs room for what remains to read (twice that for Windows-1252) and sixteen bytes
// more, since bytes beyond the text it gives may be written, and no text may lie 4 GiB or more
// past `textStart`. Takes nothing with PlainInstructions::None.
PlainLines SplitPlainLines(const char* in, const char* end, char* out, const char* textStart,
                           std::uint32_t* ends, std::uint32_t* endsLimit, PlainCoding coding);

// Where a line end is written by FindPlainLineEnds, the bits from this one up hold its length.
constexpr unsigned PlainGapShift = 30;

struct PlainLineEnds
{
    const char* in;
    std::uint32_t* ends; // after the last line end written
};

// Reads UTF-8 text that stays where it lies, from `in` toward `end` thirty-two or sixty-four bytes
// at a time while enough remain, and writes for each line end (LF, CR LF or a lone CR) the
// place of its first byte, counted from `textStart`, to `ends`, with its length above
// PlainGapShift.
//
// Stops before what it does not take: a zero byte, a CR before one, a UTF-8 sequence of three
// or four bytes or one that is not valid, a lead as the last byte read; the text before it may
// or may not have been taken, and the result starts a character and a line. May stop too when
// fewer than sixty-five bytes remain to read, or fewer than sixty-four places before
// `endsLimit`. The places must stay below 2^PlainGapShift. Takes nothing with
// PlainInstructions::None.
PlainLineEnds FindPlainLineEnds(const char* in, const char* end, const char* textStart,
                                std::uint32_t* ends, std::uint32_t* endsLimit);
