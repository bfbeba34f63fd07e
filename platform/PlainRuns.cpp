#include "platform/PlainRuns.h"

#include <array>
#include <bit>
#include <vector>

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
    std::vector<Shuffle> shuffles;

    CHalfShuffles() : shuffles(6561)
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

TAVRINO_SHUFFLES PlainLines SplitWithShuffles(const char* in, const char* end, char* out,
                                              const char* textStart, std::uint32_t* ends,
                                              std::uint32_t* endsLimit, PlainCoding coding)
{
    static const CHalfShuffles halves;
    const bool windows1252 = coding == PlainCoding::Windows1252;
    while (end - in >= 16 && endsLimit - ends >= 16)
    {
        const Bytes bytes = Load(in);
        const Bytes control = Repeated(0x0D);
        const unsigned controls = BitsOf(_mm_cmpeq_epi8(_mm_min_epu8(bytes, control), bytes));
        const unsigned lineFeeds = Equal(bytes, '\n');
        const unsigned returns = Equal(bytes, '\r');
        const unsigned nextIsLineFeed = end - in > 16 && in[16] == '\n' ? 1u << 16 : 0;
        unsigned stops =
            (controls & ~lineFeeds & ~returns) | (returns & ~((lineFeeds | nextIsLineFeed) >> 1));
        if (windows1252)
            stops |= Between(bytes, 0x80, 0x1F);
        unsigned length = stops == 0 ? 16u : static_cast<unsigned>(std::countr_zero(stops));
        unsigned range = (1u << length) - 1;
        unsigned letters = BitsOf(bytes) & range;
        if (!windows1252)
        {
            if (letters != 0)
            {
                unsigned leads = Between(bytes, 0xC2, 0xDF - 0xC2) & range;
                unsigned continuations = Between(bytes, 0x80, 0xBF - 0x80) & range;
                // A lead as the last of the sixteen is taken with its continuation next time.
                if (length == 16 && (leads >> 15) != 0)
                {
                    length = 15;
                    range = 0x7FFF;
                    letters &= range;
                    leads &= range;
                    continuations &= range;
                }
                // Every byte from 0x80 a lead or a continuation, and every lead followed by one
                // continuation: a lead before a line end fails here too.
                if (letters != (leads | continuations) || continuations != (leads << 1))
                    break;
            }
            letters = 0; // copied byte for byte
        }
        const unsigned drops = (lineFeeds | returns) & range;
        // Where the text of each line end falls: its offset in the chunk, less the line-end
        // bytes before it, plus the second bytes of the letters before it.
        const auto base = static_cast<std::uint32_t>(out - textStart);
        for (unsigned feeds = lineFeeds & range; feeds != 0; feeds &= feeds - 1)
        {
            const unsigned before = (1u << std::countr_zero(feeds)) - 1;
            *ends++ = base + static_cast<std::uint32_t>(std::popcount(before & ~drops) +
                                                        std::popcount(before & letters));
        }
        const Bytes zero = _mm_setzero_si128();
        // UTF-8 keeps its bytes: each byte's pair is itself and a zero that is never laid out.
        const Bytes low = _mm_unpacklo_epi8(bytes, zero);
        Store(out, _mm_shuffle_epi8(windows1252 ? Pairs(low) : low,
                                    Load(halves.For(letters, drops).data())));
        const unsigned lowRange = range & 0xFF;
        out += std::popcount(lowRange & ~drops) + std::popcount(letters & 0xFF);
        if (length > 8)
        {
            // Over the first half's bytes past its text.
            const Bytes high = _mm_unpackhi_epi8(bytes, zero);
            Store(out, _mm_shuffle_epi8(windows1252 ? Pairs(high) : high,
                                        Load(halves.For(letters >> 8, drops >> 8).data())));
            out += std::popcount((range >> 8) & ~(drops >> 8)) + std::popcount(letters >> 8);
        }
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
    return SplitWithShuffles(in, end, out, textStart, ends, endsLimit, coding);
}

#else

PlainLines SplitPlainLines(const char* in, const char*, char* out, const char*, std::uint32_t* ends,
                           std::uint32_t*, PlainCoding)
{
    return {in, out, ends};
}

#endif
