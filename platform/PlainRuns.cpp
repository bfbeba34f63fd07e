#include "platform/PlainRuns.h"

#include <algorithm>
#include <array>
#include <bit>

#if defined(__x86_64__)
#include <immintrin.h>

namespace
{

// The work on the masks of a run, one bit a byte, is the same at every width (`Bits` of 32
// or 64): written once here and inlined into each reading, whose instructions it then uses.
#define TAVRINO_MASKS inline __attribute__((always_inline))

template <typename Bits> constexpr Bits LastByte = Bits{1} << (8 * sizeof(Bits) - 1);

// The bytes that stop a run: a control byte other than a line end, and a CR that no LF
// follows. A CR as the last byte is taken when `after`, the byte past the run, is an LF.
template <typename Bits>
TAVRINO_MASKS Bits StopsOf(Bits controls, Bits lineFeeds, Bits returns, char after)
{
    const Bits lastIsReturnBeforeFeed = after == '\n' ? returns & LastByte<Bits> : 0;
    return (controls & ~lineFeeds & ~returns) |
           (returns & ~(lineFeeds >> 1) & ~lastIsReturnBeforeFeed);
}

// How many bytes a UTF-8 run takes: up to its first stop, and not a lead as its last byte,
// which is taken with its continuation next time.
template <typename Bits> TAVRINO_MASKS unsigned Utf8RunLength(Bits stops, Bits leads)
{
    return static_cast<unsigned>(
        std::countr_zero(stops | (stops == 0 ? leads & LastByte<Bits> : 0)));
}

// Whether the UTF-8 bytes of `range` are characters of one and two bytes: no lead of another
// character (`otherLeads`), every lead followed by one continuation, and no continuation
// without one. A lead before a line end fails here too.
template <typename Bits>
TAVRINO_MASKS bool HasOnlyPairs(Bits range, Bits leads, Bits continuations, Bits otherLeads)
{
    return (otherLeads & range) == 0 && (continuations & range) == (leads & range) << 1;
}

// The text that the bytes of `below` give: the bytes kept, and a second byte for each letter.
template <typename Bits> TAVRINO_MASKS unsigned TextOf(Bits below, Bits kept, Bits letters)
{
    return static_cast<unsigned>(std::popcount(below & kept) + std::popcount(below & letters));
}

// Where the text of the first line end of `feeds` falls, after `base`. All bits count when
// there is no line end.
template <typename Bits>
TAVRINO_MASKS std::uint32_t TextBefore(Bits feeds, Bits kept, Bits letters, std::uint32_t base)
{
    return base + TextOf((feeds & (Bits{0} - feeds)) - 1, kept, letters);
}

// Writes where each line end of `feeds` falls. Most runs hold two line ends or fewer for
// thirty-two bytes: that many are written whether they are there or not, and counted only if
// they are, which spares a branch that no predictor learns.
template <typename Bits>
TAVRINO_MASKS std::uint32_t* WriteLineEnds(Bits feeds, Bits kept, Bits letters, std::uint32_t base,
                                           std::uint32_t* ends)
{
    constexpr int written = sizeof(Bits) == 8 ? 3 : 2;
#pragma GCC unroll 3
    for (int i = 0; i < written; ++i)
    {
        *ends = TextBefore(feeds, kept, letters, base);
        ends += feeds != 0;
        feeds &= feeds - 1;
    }
    for (; feeds != 0; feeds &= feeds - 1)
        *ends++ = TextBefore(feeds, kept, letters, base);
    return ends;
}

// One bit for each byte of a run: the line ends, the bytes from 0x80, and the bytes that
// stop the run in either code page.
template <typename Bits> struct CRunMasks
{
    Bits lineFeeds;
    Bits returns;
    Bits stops;
    Bits high;
};

// One bit for each byte of a run of UTF-8 that stays where it lies: its line ends, and what
// tells characters of one and two bytes from anything else.
template <typename Bits> struct CInPlaceMasks
{
    Bits lineFeeds;
    Bits returns;
    Bits zeros;
    Bits high;
    Bits continuations; // 0x80 to 0xBF
    Bits shortLeads;    // 0xC2 to 0xDF, the leads of characters of two bytes
};

struct CFoundLineEnds
{
    unsigned taken; // bytes of the run
    bool stopped;   // at a byte that is not taken here
    std::uint32_t* ends;
};

// Writes the line ends of a run that stays where it lies, `base` bytes into the text: each
// where its first byte is, with its length. Takes the run up to its first stop and not a lead
// as its last byte, and one byte more when the run ends in a CR whose LF is `after`. As in
// WriteLineEnds, the first few are written whether they are there or not.
template <typename Bits>
TAVRINO_MASKS CFoundLineEnds TakeLineEnds(const CInPlaceMasks<Bits>& masks, char after,
                                          std::uint32_t base, std::uint32_t* ends)
{
    constexpr unsigned width = 8 * sizeof(Bits);
    const Bits leads = masks.high & ~masks.continuations;
    // A CR before a zero byte may yet be half of CR LF, once the zero byte is dropped.
    const Bits stops =
        masks.zeros | (leads & ~masks.shortLeads) | (masks.continuations & ~(leads << 1)) |
        (leads & ~(masks.continuations >> 1) & ~LastByte<Bits>) |
        (masks.returns & ((masks.zeros >> 1) | (after == '\0' ? LastByte<Bits> : 0)));
    const unsigned length = Utf8RunLength(stops, leads);
    const Bits range = length == width ? ~Bits{0} : (Bits{1} << length) - 1;
    const Bits pairs =
        masks.returns & ((masks.lineFeeds >> 1) | (after == '\n' ? LastByte<Bits> : 0));
    Bits starts = (masks.returns | (masks.lineFeeds & ~(masks.returns << 1))) & range;
    const auto endAt = [&](unsigned place)
    {
        const auto lineEnd = 1 + static_cast<std::uint32_t>((pairs >> (place & (width - 1))) & 1);
        return (base + place) | lineEnd << PlainGapShift;
    };
    if (starts == ~Bits{0} && pairs == 0)
    {
        // Nothing but line feeds, as in a file of empty lines: each byte one.
        for (unsigned i = 0; i < width; ++i)
            ends[i] = (base + i) | std::uint32_t{1} << PlainGapShift;
        return {width, stops != 0, ends + width};
    }
    // Counted first, so that the compiler cannot branch on each line end being there.
    const auto count = static_cast<unsigned>(std::popcount(starts));
    constexpr unsigned written = sizeof(Bits) == 8 ? 3 : 2;
#pragma GCC unroll 3
    for (unsigned i = 0; i < written; ++i)
    {
        ends[i] = endAt(static_cast<unsigned>(std::countr_zero(starts)));
        starts &= starts - 1;
    }
    if (count > written) [[unlikely]]
        for (unsigned i = written; starts != 0; ++i, starts &= starts - 1)
            ends[i] = endAt(static_cast<unsigned>(std::countr_zero(starts)));
    ends += count;
    const bool pairAcross = length == width && (pairs & LastByte<Bits>) != 0;
    return {length + pairAcross, stops != 0, ends};
}

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

// The one table that every reading shares, made when first needed.
const CHalfShuffles& HalfShuffles()
{
    static const CHalfShuffles halves;
    return halves;
}

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

// The line ends of text that stays where it lies, thirty-two bytes at a time.
TAVRINO_SHUFFLES PlainLineEnds FindLineEndsWithShuffles(const char* in, const char* end,
                                                        const char* textStart, std::uint32_t* ends,
                                                        std::uint32_t* endsLimit)
{
    while (end - in > 32 && endsLimit - ends >= 64)
    {
        const CThirtyTwo bytes{Load(in), Load(in + 16)};
        const CInPlaceMasks<unsigned> masks{EqualOf(bytes, '\n'),
                                            EqualOf(bytes, '\r'),
                                            EqualOf(bytes, 0),
                                            HighOf(bytes),
                                            BetweenOf(bytes, 0x80, 0xBF - 0x80),
                                            BetweenOf(bytes, 0xC2, 0xDF - 0xC2)};
        const CFoundLineEnds found =
            TakeLineEnds(masks, in[32], static_cast<std::uint32_t>(in - textStart), ends);
        ends = found.ends;
        in += found.taken;
        if (found.stopped)
            break;
    }
    return {in, ends};
}

// Plain functions rather than lambdas here: a lambda does not take on the processor target of
// the function around it, so its bit counts could become calls.
template <PlainCoding coding>
TAVRINO_SHUFFLES PlainLines SplitWithShuffles(const char* in, const char* end, char* out,
                                              const char* textStart, std::uint32_t* ends,
                                              std::uint32_t* endsLimit)
{
    const CHalfShuffles& halves = HalfShuffles();
    constexpr bool windows1252 = coding == PlainCoding::Windows1252;
    // One byte past the thirty-two is read: whether an LF follows a CR at their end.
    while (end - in > 32 && endsLimit - ends >= 32)
    {
        const CThirtyTwo bytes{Load(in), Load(in + 16)};
        const unsigned controls = ControlsOf(bytes);
        const unsigned lineFeeds = EqualOf(bytes, '\n');
        const unsigned returns = EqualOf(bytes, '\r');
        const unsigned high = HighOf(bytes);
        unsigned stops = StopsOf(controls, lineFeeds, returns, in[32]);
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
            length = Utf8RunLength(stops, leads);
            const auto range = static_cast<unsigned>((std::uint64_t{1} << length) - 1);
            if (!HasOnlyPairs(range, leads, continuations, high ^ (leads | continuations)))
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
        ends = WriteLineEnds(feeds, kept, letters, base, ends);
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
            char* const at = start + TextOf(below, kept, letters);
            // UTF-8 keeps its bytes: each byte's pair is itself and a zero never laid out.
            Bytes pairs = quarters[quarter];
            if constexpr (windows1252)
                pairs = Pairs(pairs);
            Store(at, _mm_shuffle_epi8(pairs,
                                       Load(halves.For(letters >> shift, drops >> shift).data())));
        }
        out = start + TextOf(~0u, kept, letters);
        // A whole run is the common case, and taking it so lets the next read start before
        // this run's length is known.
        if (length == 32) [[likely]]
        {
            in += 32;
            continue;
        }
        in += length;
        if (stops != 0)
            break;
    }
    return {in, out, ends};
}

// The same with thirty-two bytes in one register, for processors since about 2013.
#define TAVRINO_WIDE __attribute__((target("avx2,bmi,bmi2,popcnt")))
// The helpers are called in the loops, where a call would cost more than their work.
#define TAVRINO_WIDE_HELPER TAVRINO_WIDE inline __attribute__((always_inline))

using WideBytes = __m256i;

TAVRINO_WIDE_HELPER WideBytes LoadWide(const void* in)
{
    return _mm256_loadu_si256(static_cast<const WideBytes*>(in));
}

TAVRINO_WIDE_HELPER void StoreWide(char* out, WideBytes bytes)
{
    _mm256_storeu_si256(reinterpret_cast<WideBytes*>(out), bytes);
}

TAVRINO_WIDE_HELPER WideBytes RepeatedWide(unsigned char byte)
{
    return _mm256_set1_epi8(static_cast<char>(byte));
}

TAVRINO_WIDE_HELPER unsigned BitsOfWide(WideBytes matches)
{
    return static_cast<unsigned>(_mm256_movemask_epi8(matches));
}

TAVRINO_WIDE_HELPER CRunMasks<unsigned> MasksOf(WideBytes bytes, const char* in)
{
    const unsigned lineFeeds = BitsOfWide(_mm256_cmpeq_epi8(bytes, RepeatedWide('\n')));
    const unsigned returns = BitsOfWide(_mm256_cmpeq_epi8(bytes, RepeatedWide('\r')));
    const WideBytes control = RepeatedWide(0x0D);
    const unsigned controls = BitsOfWide(_mm256_cmpeq_epi8(_mm256_min_epu8(bytes, control), bytes));
    return {lineFeeds, returns, StopsOf(controls, lineFeeds, returns, in[32]), BitsOfWide(bytes)};
}

// UTF-8 is its own text: only the line ends are left out. Lines are longer than the few
// bytes of their ends, so the text between two line ends is moved whole, thirty-two bytes at
// once, to where the text before it ends; the bytes past it are written over by what comes
// next.
TAVRINO_WIDE PlainLines SplitUtf8Wide(const char* in, const char* end, char* out,
                                      const char* textStart, std::uint32_t* ends,
                                      std::uint32_t* endsLimit)
{
    // The thirty-two bytes after a line end are read at once: up to sixty-five bytes on.
    while (end - in >= 72 && endsLimit - ends >= 32)
    {
        const WideBytes bytes = LoadWide(in);
        const CRunMasks<unsigned> masks = MasksOf(bytes, in);
        // Continuations from 0x80 to 0xBF, below 0xC0 when compared with sign, and leads that
        // no character of one or two bytes has: 0xC0, 0xC1 and from 0xE0.
        const unsigned continuations = BitsOfWide(_mm256_cmpgt_epi8(RepeatedWide(0xC0), bytes));
        const unsigned longer = BitsOfWide(_mm256_or_si256(
                                    _mm256_cmpgt_epi8(bytes, RepeatedWide(0xDF)),
                                    _mm256_cmpeq_epi8(_mm256_and_si256(bytes, RepeatedWide(0xFE)),
                                                      RepeatedWide(0xC0)))) &
                                masks.high;
        const unsigned leads = masks.high & ~continuations;
        const unsigned length = Utf8RunLength(masks.stops, leads);
        const unsigned range = _bzhi_u32(~0u, length);
        if (!HasOnlyPairs(range, leads, continuations, longer))
            break;
        const unsigned kept = range & ~(masks.lineFeeds | masks.returns);
        unsigned feeds = masks.lineFeeds & range;
        const auto base = static_cast<std::uint32_t>(out - textStart);
        if (feeds == 0xFFFFFFFFu)
        {
            std::fill_n(ends, 32, base);
            ends += 32;
            in += 32;
            continue;
        }
        StoreWide(out, bytes);
        // The first two line ends are handled whether they are there or not, as above; a
        // line end that is not there moves bytes past the text, which count for nothing.
        for (int written = 0; written < 2; ++written)
        {
            const unsigned at = _tzcnt_u32(feeds);
            const auto before = static_cast<unsigned>(std::popcount(_bzhi_u32(kept, at)));
            *ends = base + before;
            ends += feeds != 0;
            StoreWide(out + before, LoadWide(in + at + 1));
            feeds = _blsr_u32(feeds);
        }
        for (; feeds != 0; feeds = _blsr_u32(feeds))
        {
            const unsigned at = _tzcnt_u32(feeds);
            const auto before = static_cast<unsigned>(std::popcount(_bzhi_u32(kept, at)));
            *ends++ = base + before;
            StoreWide(out + before, LoadWide(in + at + 1));
        }
        out += std::popcount(kept);
        if (length == 32) [[likely]]
        {
            in += 32;
            continue;
        }
        in += length;
        if (masks.stops != 0)
            break;
    }
    return {in, out, ends};
}

// The pairs of Pairs above, for sixteen bytes widened in one register.
TAVRINO_WIDE_HELPER WideBytes PairsWide(WideBytes wide)
{
    const WideBytes isLetter = _mm256_cmpgt_epi16(wide, _mm256_set1_epi16(0x7F));
    const WideBytes lead = _mm256_or_si256(_mm256_srli_epi16(wide, 6), _mm256_set1_epi16(0xC0));
    const WideBytes first = _mm256_blendv_epi8(wide, lead, isLetter);
    const WideBytes second =
        _mm256_or_si256(_mm256_and_si256(wide, _mm256_set1_epi16(0x3F)), _mm256_set1_epi16(0x80));
    return _mm256_or_si256(first, _mm256_slli_epi16(second, 8));
}

// Two quarters of eight bytes, widened to pairs, each laid out by its own shuffle.
TAVRINO_WIDE_HELPER WideBytes LaidOut(const CHalfShuffles& halves, WideBytes pairs,
                                      unsigned letters, unsigned drops)
{
    const Shuffle& low = halves.For(letters, drops);
    const Shuffle& high = halves.For(letters >> 8, drops >> 8);
    return _mm256_shuffle_epi8(pairs,
                               _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(high.data()),
                                                   reinterpret_cast<const __m128i*>(low.data())));
}

// Windows-1252 as the shuffles above do it, with each sixteen bytes widened to pairs in one
// register.
TAVRINO_WIDE PlainLines SplitWindows1252Wide(const char* in, const char* end, char* out,
                                             const char* textStart, std::uint32_t* ends,
                                             std::uint32_t* endsLimit)
{
    const CHalfShuffles& halves = HalfShuffles();
    while (end - in >= 72 && endsLimit - ends >= 32)
    {
        const WideBytes bytes = LoadWide(in);
        const CRunMasks<unsigned> masks = MasksOf(bytes, in);
        // The bytes from 0x80 to 0x9F, whose characters take three bytes or none: below
        // 0xA0 compared with sign.
        const unsigned rare = BitsOfWide(_mm256_cmpgt_epi8(RepeatedWide(0xA0), bytes));
        const unsigned stops = masks.stops | rare;
        const unsigned length = _tzcnt_u32(stops);
        const unsigned range = _bzhi_u32(~0u, length);
        const unsigned letters = masks.high & range;
        const unsigned drops = (masks.lineFeeds | masks.returns) & range;
        const unsigned kept = range & ~drops;
        const unsigned feeds = masks.lineFeeds & range;
        const auto base = static_cast<std::uint32_t>(out - textStart);
        if (feeds == 0xFFFFFFFFu)
        {
            std::fill_n(ends, 32, base);
            ends += 32;
            in += 32;
            continue;
        }
        ends = WriteLineEnds(feeds, kept, letters, base, ends);
        const WideBytes first = LaidOut(
            halves, PairsWide(_mm256_cvtepu8_epi16(_mm256_castsi256_si128(bytes))), letters, drops);
        const WideBytes second =
            LaidOut(halves, PairsWide(_mm256_cvtepu8_epi16(_mm256_extracti128_si256(bytes, 1))),
                    letters >> 16, drops >> 16);
        Store(out, _mm256_castsi256_si128(first));
        Store(out + TextOf(0xFFu, kept, letters), _mm256_extracti128_si256(first, 1));
        Store(out + TextOf(0xFFFFu, kept, letters), _mm256_castsi256_si128(second));
        Store(out + TextOf(0xFFFFFFu, kept, letters), _mm256_extracti128_si256(second, 1));
        out += TextOf(~0u, kept, letters);
        if (length == 32) [[likely]]
        {
            in += 32;
            continue;
        }
        in += length;
        if (stops != 0)
            break;
    }
    return {in, out, ends};
}

// The line ends of text that stays where it lies, thirty-two bytes at a time.
TAVRINO_WIDE PlainLineEnds FindLineEndsWide(const char* in, const char* end, const char* textStart,
                                            std::uint32_t* ends, std::uint32_t* endsLimit)
{
    while (end - in > 32 && endsLimit - ends >= 64)
    {
        const WideBytes bytes = LoadWide(in);
        const WideBytes shifted = _mm256_sub_epi8(bytes, RepeatedWide(0xC2));
        const WideBytes span = RepeatedWide(0xDF - 0xC2);
        // Signed, the continuations from 0x80 to 0xBF are the bytes below 0xC0.
        const CInPlaceMasks<unsigned> masks{
            BitsOfWide(_mm256_cmpeq_epi8(bytes, RepeatedWide('\n'))),
            BitsOfWide(_mm256_cmpeq_epi8(bytes, RepeatedWide('\r'))),
            BitsOfWide(_mm256_cmpeq_epi8(bytes, _mm256_setzero_si256())),
            BitsOfWide(bytes),
            BitsOfWide(_mm256_cmpgt_epi8(RepeatedWide(0xC0), bytes)),
            BitsOfWide(_mm256_cmpeq_epi8(_mm256_min_epu8(shifted, span), shifted))};
        const CFoundLineEnds found =
            TakeLineEnds(masks, in[32], static_cast<std::uint32_t>(in - textStart), ends);
        ends = found.ends;
        if (found.taken == 32) [[likely]]
        {
            in += 32;
            continue;
        }
        in += found.taken;
        if (found.stopped)
            break;
    }
    return {in, ends};
}

// With the byte compress of AVX-512, sixty-four bytes at a time: the text is what is left when
// the line ends are taken out, and the work of a line end is only to count where it falls.
#define TAVRINO_WIDEST                                                                             \
    __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,bmi,bmi2,popcnt")))
#define TAVRINO_WIDEST_HELPER TAVRINO_WIDEST inline __attribute__((always_inline))

using WidestBytes = __m512i;
using WidestBits = std::uint64_t;

TAVRINO_WIDEST_HELPER WidestBytes RepeatedWidest(unsigned char byte)
{
    return _mm512_set1_epi8(static_cast<char>(byte));
}

TAVRINO_WIDEST_HELPER CRunMasks<WidestBits> WidestMasksOf(WidestBytes bytes, const char* in)
{
    const WidestBits lineFeeds = _mm512_cmpeq_epi8_mask(bytes, RepeatedWidest('\n'));
    const WidestBits returns = _mm512_cmpeq_epi8_mask(bytes, RepeatedWidest('\r'));
    const WidestBits controls = _mm512_cmple_epu8_mask(bytes, RepeatedWidest(0x0D));
    return {lineFeeds, returns, StopsOf(controls, lineFeeds, returns, in[64]),
            _mm512_movepi8_mask(bytes)};
}

TAVRINO_WIDEST PlainLines SplitUtf8Widest(const char* in, const char* end, char* out,
                                          const char* textStart, std::uint32_t* ends,
                                          std::uint32_t* endsLimit)
{
    while (end - in > 64 && endsLimit - ends >= 64)
    {
        const WidestBytes bytes = _mm512_loadu_si512(in);
        const CRunMasks<WidestBits> masks = WidestMasksOf(bytes, in);
        // Signed, the continuations from 0x80 to 0xBF are the bytes below 0xC0.
        const WidestBits continuations = _mm512_cmplt_epi8_mask(bytes, RepeatedWidest(0xC0));
        const WidestBits shortLeads = _mm512_cmple_epu8_mask(
            _mm512_sub_epi8(bytes, RepeatedWidest(0xC2)), RepeatedWidest(0xDF - 0xC2));
        const WidestBits leads = masks.high & ~continuations;
        const unsigned length = Utf8RunLength(masks.stops, leads);
        const WidestBits range = _bzhi_u64(~WidestBits{0}, length);
        if (!HasOnlyPairs(range, leads, continuations, leads & ~shortLeads))
            break;
        const WidestBits kept = range & ~(masks.lineFeeds | masks.returns);
        const WidestBits feeds = masks.lineFeeds & range;
        const auto base = static_cast<std::uint32_t>(out - textStart);
        if (feeds == ~WidestBits{0})
        {
            std::fill_n(ends, 64, base);
            ends += 64;
            in += 64;
            continue;
        }
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(kept, bytes));
        ends = WriteLineEnds(feeds, kept, WidestBits{0}, base, ends);
        out += std::popcount(kept);
        if (length == 64) [[likely]]
        {
            in += 64;
            continue;
        }
        in += length;
        if (masks.stops != 0)
            break;
    }
    return {in, out, ends};
}

// The line ends of text that stays where it lies, sixty-four bytes at a time.
TAVRINO_WIDEST PlainLineEnds FindLineEndsWidest(const char* in, const char* end,
                                                const char* textStart, std::uint32_t* ends,
                                                std::uint32_t* endsLimit)
{
    while (end - in > 64 && endsLimit - ends >= 64)
    {
        const WidestBytes bytes = _mm512_loadu_si512(in);
        // Signed, the continuations from 0x80 to 0xBF are the bytes below 0xC0.
        const CInPlaceMasks<WidestBits> masks{
            _mm512_cmpeq_epi8_mask(bytes, RepeatedWidest('\n')),
            _mm512_cmpeq_epi8_mask(bytes, RepeatedWidest('\r')),
            _mm512_testn_epi8_mask(bytes, bytes),
            _mm512_movepi8_mask(bytes),
            _mm512_cmplt_epi8_mask(bytes, RepeatedWidest(0xC0)),
            _mm512_cmple_epu8_mask(_mm512_sub_epi8(bytes, RepeatedWidest(0xC2)),
                                   RepeatedWidest(0xDF - 0xC2))};
        const CFoundLineEnds found =
            TakeLineEnds(masks, in[64], static_cast<std::uint32_t>(in - textStart), ends);
        ends = found.ends;
        if (found.taken == 64) [[likely]]
        {
            in += 64;
            continue;
        }
        in += found.taken;
        if (found.stopped)
            break;
    }
    return {in, ends};
}

// The places of the pairs of bytes `first` (below 64) and `second` (from 64) for sixty-four
// characters: the first thirty-two in one vector, the others in the next.
struct CPairPlaces
{
    alignas(64) std::array<unsigned char, 64> low;
    alignas(64) std::array<unsigned char, 64> high;

    constexpr CPairPlaces() : low(), high()
    {
        for (unsigned i = 0; i < 32; ++i)
        {
            low[2 * i] = static_cast<unsigned char>(i);
            low[2 * i + 1] = static_cast<unsigned char>(64 + i);
            high[2 * i] = static_cast<unsigned char>(32 + i);
            high[2 * i + 1] = static_cast<unsigned char>(96 + i);
        }
    }
};

// Which bytes of thirty-two pairs are text: the first of each byte kept, and the second of
// each letter.
TAVRINO_WIDEST_HELPER WidestBits PairsKept(std::uint32_t kept, std::uint32_t letters)
{
    return _pdep_u64(kept, 0x5555555555555555ull) | _pdep_u64(letters, 0xAAAAAAAAAAAAAAAAull);
}

TAVRINO_WIDEST PlainLines SplitWindows1252Widest(const char* in, const char* end, char* out,
                                                 const char* textStart, std::uint32_t* ends,
                                                 std::uint32_t* endsLimit)
{
    static constexpr CPairPlaces pairPlaces;
    while (end - in > 64 && endsLimit - ends >= 64)
    {
        const WidestBytes bytes = _mm512_loadu_si512(in);
        const CRunMasks<WidestBits> masks = WidestMasksOf(bytes, in);
        // Signed, the bytes from 0x80 to 0x9F are those below 0xA0.
        const WidestBits stops = masks.stops | _mm512_cmplt_epi8_mask(bytes, RepeatedWidest(0xA0));
        const auto length = static_cast<unsigned>(_tzcnt_u64(stops));
        const WidestBits range = _bzhi_u64(~WidestBits{0}, length);
        const WidestBits letters = masks.high & range;
        const WidestBits kept = range & ~(masks.lineFeeds | masks.returns);
        const WidestBits feeds = masks.lineFeeds & range;
        const auto base = static_cast<std::uint32_t>(out - textStart);
        if (feeds == ~WidestBits{0})
        {
            std::fill_n(ends, 64, base);
            ends += 64;
            in += 64;
            continue;
        }
        const WidestBits lowKept =
            PairsKept(static_cast<std::uint32_t>(kept), static_cast<std::uint32_t>(letters));
        const WidestBits highKept = PairsKept(static_cast<std::uint32_t>(kept >> 32),
                                              static_cast<std::uint32_t>(letters >> 32));
        // Each letter from 0xA0 in UTF-8: a lead of C2 or C3, then the byte itself with its
        // second bit cleared. Other bytes are themselves, and their second is not kept.
        const WidestBytes leads =
            _mm512_mask_blend_epi8(_mm512_cmpge_epu8_mask(bytes, RepeatedWidest(0xC0)),
                                   RepeatedWidest(0xC2), RepeatedWidest(0xC3));
        const WidestBytes first = _mm512_mask_blend_epi8(masks.high, bytes, leads);
        const WidestBytes second = _mm512_and_si512(bytes, RepeatedWidest(0xBF));
        const WidestBytes lowPairs =
            _mm512_permutex2var_epi8(first, _mm512_load_si512(pairPlaces.low.data()), second);
        const WidestBytes highPairs =
            _mm512_permutex2var_epi8(first, _mm512_load_si512(pairPlaces.high.data()), second);
        _mm512_storeu_si512(out, _mm512_maskz_compress_epi8(lowKept, lowPairs));
        _mm512_storeu_si512(out + std::popcount(lowKept),
                            _mm512_maskz_compress_epi8(highKept, highPairs));
        ends = WriteLineEnds(feeds, kept, letters, base, ends);
        out += std::popcount(lowKept) + std::popcount(highKept);
        if (length == 64) [[likely]]
        {
            in += 64;
            continue;
        }
        in += length;
        if (stops != 0)
            break;
    }
    return {in, out, ends};
}

} // namespace

PlainInstructions AvailablePlainInstructions()
{
    static const PlainInstructions available = []
    {
        __builtin_cpu_init();
        const bool counts = __builtin_cpu_supports("popcnt") != 0;
        if (counts && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
            __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
            __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2"))
            return PlainInstructions::Avx512;
        if (counts && __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
            __builtin_cpu_supports("bmi2"))
            return PlainInstructions::Avx2;
        if (counts && __builtin_cpu_supports("ssse3"))
            return PlainInstructions::Ssse3;
        return PlainInstructions::None;
    }();
    return available;
}

namespace
{

PlainInstructions g_plainInstructions = AvailablePlainInstructions();

} // namespace

void LimitPlainInstructions(PlainInstructions widest)
{
    g_plainInstructions = std::min(widest, AvailablePlainInstructions());
}

PlainLines SplitPlainLines(const char* in, const char* end, char* out, const char* textStart,
                           std::uint32_t* ends, std::uint32_t* endsLimit, PlainCoding coding)
{
    const bool windows1252 = coding == PlainCoding::Windows1252;
    switch (g_plainInstructions)
    {
    case PlainInstructions::Avx512:
        return windows1252 ? SplitWindows1252Widest(in, end, out, textStart, ends, endsLimit)
                           : SplitUtf8Widest(in, end, out, textStart, ends, endsLimit);
    case PlainInstructions::Avx2:
        return windows1252 ? SplitWindows1252Wide(in, end, out, textStart, ends, endsLimit)
                           : SplitUtf8Wide(in, end, out, textStart, ends, endsLimit);
    case PlainInstructions::Ssse3:
        return windows1252
                   ? SplitWithShuffles<PlainCoding::Windows1252>(in, end, out, textStart, ends,
                                                                 endsLimit)
                   : SplitWithShuffles<PlainCoding::Utf8>(in, end, out, textStart, ends, endsLimit);
    case PlainInstructions::None:
        break;
    }
    return {in, out, ends};
}

PlainLineEnds FindPlainLineEnds(const char* in, const char* end, const char* textStart,
                                std::uint32_t* ends, std::uint32_t* endsLimit)
{
    switch (g_plainInstructions)
    {
    case PlainInstructions::Avx512:
        return FindLineEndsWidest(in, end, textStart, ends, endsLimit);
    case PlainInstructions::Avx2:
        return FindLineEndsWide(in, end, textStart, ends, endsLimit);
    case PlainInstructions::Ssse3:
        return FindLineEndsWithShuffles(in, end, textStart, ends, endsLimit);
    case PlainInstructions::None:
        break;
    }
    return {in, ends};
}

#else

PlainInstructions AvailablePlainInstructions()
{
    return PlainInstructions::None;
}

void LimitPlainInstructions(PlainInstructions) {}

PlainLines SplitPlainLines(const char* in, const char*, char* out, const char*, std::uint32_t* ends,
                           std::uint32_t*, PlainCoding)
{
    return {in, out, ends};
}

PlainLineEnds FindPlainLineEnds(const char* in, const char*, const char*, std::uint32_t* ends,
                                std::uint32_t*)
{
    return {in, ends};
}

#endif
