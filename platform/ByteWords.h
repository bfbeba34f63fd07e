// Eight bytes of a text read as one 64-bit word, so that a loop can pass over plain runs eight
// bytes at a time. The functions mark bytes by their high bit; the first byte of the eight is
// the lowest byte of the word on every processor.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

// A one in every byte: times a byte, that byte in every place.
constexpr std::uint64_t EachByte = 0x0101010101010101ull;
constexpr std::uint64_t HighBits = 0x80 * EachByte;

// The eight bytes from `bytes`, which must hold that many.
inline std::uint64_t WordAt(const char* bytes)
{
    std::uint64_t word;
    std::memcpy(&word, bytes, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    return word;
}

// The high bit of each byte of `word` that is zero, and of no other.
inline std::uint64_t ZeroBytes(std::uint64_t word)
{
    return ~(((word & ~HighBits) + ~HighBits) | word) & HighBits;
}

// The high bit of bytes below `limit` (at most 0x80): exact for the lowest of them, and none
// when there is none; a byte above the lowest may be marked wrongly.
inline std::uint64_t BytesBelow(std::uint64_t word, unsigned char limit)
{
    return (word - limit * EachByte) & ~word & HighBits;
}
