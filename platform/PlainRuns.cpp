#include "platform/PlainRuns.h"

#include <algorithm>
#include <array>
#include <bit>

#if defined(__x86_64__)
#include <immintrin.h>

namespace
{

using Bytes = __m128i;

#define TAVRINO_SHUFFLES __attribute__((target("ssse3,popcnt")))

TAVRINO_SHUFFLES Bytes Load(const void* in)
{
    return _mm_loadu_si128(static_cast<const Bytes*>(in));
}

TAVRINO_SHUFFLES void Store(char* out, Bytes bytes)
{
    _mm_storeu_si128(reinterpret_cast<Bytes*>(out), bytes);
}

TAVRINO_SHUFFLES Bytes Repeated(unsigned char byte)
{
    return _mm_set1_epi8(static_cast<char>(byte));
}

// One bit for each of the sixteen bytes where `matches` holds.
TAVRINO_SHUFFLES unsigned BitsOf(Bytes matches)
{
    return static_cast<unsigned>(_mm_movemask_epi8(matches));
}

TAVRINO_SHUFFLES unsigned Equal(Bytes bytes, unsigned char byte)
{
    return BitsOf(_mm_cmpeq_epi8(bytes, Repeated(byte)));
}

// Bytes from `low` to `low + span`, compared without sign.
TAVRINO_SHUFFLES unsigned Between(Bytes bytes, unsigned char low, unsigned char span)
{
    const Bytes shifted = _mm_sub_epi8(bytes, Repeated(low));
    return BitsOf(_mm_cmpeq_epi8(_mm_min_epu8(shifted, Repeated(span)), shifted));
}

// Each byte of a half of eight is kept as one byte, becomes two (a Windows-1252 letter from
// 0xA0) or is dropped (a line end). For each of the 3^8 ways, the shuffle that lays out the
// kept bytes from the half widened to pairs: a byte's first candidate is at 2i, its second
// at 2i + 1.
using Shuffle = std::array<unsigned char, 16>;
struct CHalfShuffles
{
    std::array<unsigned short, 256> ternary; // bit i of the index becomes 3^i
    std::array<Shuffle, 6561> shuffles;

    CHalfShuffles()
    {
        for (unsigned bits = 0; bits < 256; ++bits)
        {
            unsigned value = 0;
            for (unsigned i = 0, power = 1; i < 8; ++i, power *= 3)
                value += ((bits >> i) & 1) * power;
            ternary[bits] = static_cast<unsigned short>(value);
        }
        for (unsigned index = 0; index < shuffles.size(); ++index)
        {
            Shuffle& shuffle = shuffles[index];
            shuffle.fill(0x80);
            unsigned next = 0;
            for (unsigned i = 0, rest = index; i < 8; ++i, rest /= 3)
            {
                const unsigned way = rest % 3; // 0 kept, 1 two bytes, 2 dropped
                if (way == 2)
                    continue;
                shuffle[next++] = static_cast<unsigned char>(2 * i);
                if (way == 1)
                    shuffle[next++] = static_cast<unsigned char>(2 * i + 1);
            }
        }
    }

    const Shuffle& For(unsigned letters, unsigned drops) const
    {
        return shuffles[ternary[letters & 0xFF] + 2u * ternary[drops & 0xFF]];
    }
};

// A half of eight bytes, widened to pairs: below 0x80 the byte itself, from 0xA0 C2 or C3
// and then 0x80 with the byte's lower six bits, which is its character in UTF-8.
TAVRINO_SHUFFLES Bytes Pairs(Bytes wide)
{
    const Bytes isLetter = _mm_cmpgt_epi16(wide, _mm_set1_epi16(0x7F));
    const Bytes lead = _mm_or_si128(_mm_srli_epi16(wide, 6), _mm_set1_epi16(0xC0));
    const Bytes first =
        _mm_or_si128(_mm_and_si128(isLetter, lead), _mm_andnot_si128(isLetter, wide));
    const Bytes second =
        _mm_or_si128(_mm_and_si128(wide, _mm_set1_epi16(0x3F)), _mm_set1_epi16(0x80));
    return _mm_or_si128(first, _mm_slli_epi16(second, 8));
}

// Thirty-two bytes as two vectors of sixteen, with one bit each in the masks, so that the work
// on the masks is shared by twice the bytes.
struct CThirtyTwo
{
    Bytes first;
    Bytes second;
};

TAVRINO_SHUFFLES unsigned ControlsOf(const CThirtyTwo& bytes)
{
    const Bytes control = Repeated(0x0D);
    return BitsOf(_mm_cmpeq_epi8(_mm_min_epu8(bytes.first, control), bytes.first)) |
           BitsOf(_mm_cmpeq_epi8(_mm_min_epu8(bytes.second, control), bytes.second)) << 16;
}

TAVRINO_SHUFFLES unsigned EqualOf(const CThirtyTwo& bytes, unsigned char byte)
{
    return Equal(bytes.first, byte) | Equal(bytes.second, byte) << 16;
}

TAVRINO_SHUFFLES unsigned HighOf(const CThirtyTwo& bytes)
{
    return BitsOf(bytes.first) | BitsOf(bytes.second) << 16;
}

TAVRINO_SHUFFLES unsigned BetweenOf(const CThirtyTwo& bytes, unsigned char low, unsigned char span)
{
    return Between(bytes.first, low, span) | Between(bytes.second, low, span) << 16;
}

// Where the text of a line end falls: its offset, less the line-end bytes before it, plus
// the second bytes of the letters before it. All bits count when there is no line end.
TAVRINO_SHUFFLES std::uint32_t TextBefore(unsigned feed, std::uint32_t base, unsigned kept,
                                          unsigned letters)
{
    const unsigned before = (feed & (0u - feed)) - 1u;
    return base + static_cast<std::uint32_t>(std::popcount(before & kept) +
                                             std::popcount(before & letters));
}

// Plain functions rather than lambdas here: a lambda does not take on the processor target of
// the function around it, so its bit counts could become calls.
template <PlainCoding coding>
TAVRINO_SHUFFLES PlainLines SplitWithShuffles(const char* in, const char* end, char* out,
                                              const char* textStart, std::uint32_t* ends,
                                              std::uint32_t* endsLimit)
{
    static const CHalfShuffles halves;
    constexpr bool windows1252 = coding == PlainCoding::Windows1252;
    // One byte past the thirty-two is read: whether an LF follows a CR at their end.
    while (end - in > 32 && endsLimit - ends >= 32)
    {
        const CThirtyTwo bytes{Load(in), Load(in + 16)};
        const unsigned controls = ControlsOf(bytes);
        const unsigned lineFeeds = EqualOf(bytes, '\n');
        const unsigned returns = EqualOf(bytes, '\r');
        const unsigned high = HighOf(bytes);
        // A CR as the last byte is taken when an LF follows; otherwise it waits.
        const unsigned lastIsReturnBeforeFeed = in[32] == '\n' ? returns & 0x80000000u : 0u;
        unsigned stops = (controls & ~lineFeeds & ~returns) |
                         (returns & ~(lineFeeds >> 1) & ~lastIsReturnBeforeFeed);
        if constexpr (windows1252)
            stops |= BetweenOf(bytes, 0x80, 0x1F);
        unsigned length = stops == 0 ? 32u : static_cast<unsigned>(std::countr_zero(stops));
        unsigned letters = high;
        if constexpr (!windows1252)
        {
            // Worked out for all thirty-two bytes, with or without letters, so that nothing
            // here branches on the text.
            const unsigned leads = BetweenOf(bytes, 0xC2, 0xDF - 0xC2);
            const unsigned continuations = BetweenOf(bytes, 0x80, 0xBF - 0x80);
            // A lead as the last byte is taken with its continuation next time.
            length -= (leads >> 31) & (stops == 0 ? 1u : 0u);
            const auto range = static_cast<unsigned>((std::uint64_t{1} << length) - 1);
            // Every byte from 0x80 a lead or a continuation, and every lead followed by one
            // continuation: a lead before a line end fails here too.
            if (((high ^ (leads | continuations)) & range) != 0 ||
                (continuations & range) != (leads & range) << 1)
                break;
            letters = 0; // copied byte for byte
        }
        const auto range = static_cast<unsigned>((std::uint64_t{1} << length) - 1);
        letters &= range;
        const unsigned drops = (lineFeeds | returns) & range;
        const unsigned kept = range & ~drops;
        const auto base = static_cast<std::uint32_t>(out - textStart);
        unsigned feeds = lineFeeds & range;
        if (feeds == 0xFFFFFFFFu)
        {
            // Thirty-two empty lines, as in a file of nothing else: no text, and no place past
            // them to write to.
            std::fill_n(ends, 32, base);
            ends += 32;
            in += 32;
            continue;
        }
        // Most runs of thirty-two bytes hold two line ends or fewer: the first two are written
        // whether they are there or not, and counted only if they are, which spares a branch
        // that no predictor learns.
        for (int written = 0; written < 2; ++written)
        {
            *ends = TextBefore(feeds, base, kept, letters);
            ends += feeds != 0;
            feeds &= feeds - 1;
        }
        for (; feeds != 0; feeds &= feeds - 1)
            *ends++ = TextBefore(feeds, base, kept, letters);
        // Each eight bytes laid out after the text of those before, whether any of theirs
        // count or not: past the end of the text the next store writes over them.
        const Bytes zero = _mm_setzero_si128();
        const Bytes quarters[4] = {
            _mm_unpacklo_epi8(bytes.first, zero), _mm_unpackhi_epi8(bytes.first, zero),
            _mm_unpacklo_epi8(bytes.second, zero), _mm_unpackhi_epi8(bytes.second, zero)};
        char* const start = out;
#pragma GCC unroll 4
        for (unsigned quarter = 0; quarter < 4; ++quarter)
        {
            const unsigned shift = 8 * quarter;
            const unsigned below = (1u << shift) - 1;
            char* const at = start + std::popcount(kept & below) + std::popcount(letters & below);
            // UTF-8 keeps its bytes: each byte's pair is itself and a zero never laid out.
            Bytes pairs = quarters[quarter];
            if constexpr (windows1252)
                pairs = Pairs(pairs);
            Store(at, _mm_shuffle_epi8(pairs,
                                       Load(halves.For(letters >> shift, drops >> shift).data())));
        }
        out = start + std::popcount(kept) + std::popcount(letters);
        in += length;
        if (stops != 0)
            break;
    }
    return {in, out, ends};
}

} // namespace

PlainLines SplitPlainLines(const char* in, const char* end, char* out, const char* textStart,
                           std::uint32_t* ends, std::uint32_t* endsLimit, PlainCoding coding)
{
    static const bool shuffles =
        __builtin_cpu_supports("ssse3") && __builtin_cpu_supports("popcnt");
    if (!shuffles)
        return {in, out, ends};
    return coding == PlainCoding::Windows1252
               ? SplitWithShuffles<PlainCoding::Windows1252>(in, end, out, textStart, ends,
                                                             endsLimit)
               : SplitWithShuffles<PlainCoding::Utf8>(in, end, out, textStart, ends, endsLimit);
}

#else

PlainLines SplitPlainLines(const char* in, const char*, char* out, const char*, std::uint32_t* ends,
                           std::uint32_t*, PlainCoding)
{
    return {in, out, ends};
}

#endif
