#include "platform/CodePage.h"

#include "platform/ByteWords.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>

namespace
{

// 0x80 to 0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char16_t, 32> CodePointsOf0x80To0x9F = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool IsUndefinedInWindows1252(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F && CodePointsOf0x80To0x9F[byte - 0x80] == 0;
}

std::size_t AsciiRunLength(std::string_view bytes)
{
    // Eight bytes at a time: a list is mostly plain letters.
    std::size_t length = 0;
    while (length + 8 <= bytes.size() && (WordAt(bytes.data() + length) & HighBits) == 0)
        length += 8;
    while (length < bytes.size() && static_cast<unsigned char>(bytes[length]) < 0x80)
        ++length;
    return length;
}

struct LineEndCounts
{
    std::size_t feeds = 0;
    std::size_t returns = 0;
    std::size_t pairs = 0; // CR LF
};

// The sum of the eight bytes of a word, by pairs of bytes first so that no sum overflows.
std::size_t SumOfBytes(std::uint64_t word)
{
    constexpr std::uint64_t lowBytes = 0x00FF00FF00FF00FFull;
    const std::uint64_t pairs = (word & lowBytes) + ((word >> 8) & lowBytes);
    return static_cast<std::size_t>((pairs * 0x0001000100010001ull) >> 48);
}

LineEndCounts CountLineEnds(std::string_view bytes)
{
    LineEndCounts counts;
    std::uint64_t returnBefore = 0; // the last byte of the word before was a CR
    std::size_t i = 0;
    while (i + 8 <= bytes.size())
    {
        // Counted in the bytes of a word, one count for each place, and added up before
        // a byte could overflow.
        std::uint64_t feeds = 0;
        std::uint64_t returns = 0;
        std::uint64_t pairs = 0;
        for (int round = 0; round < 255 && i + 8 <= bytes.size(); ++round, i += 8)
        {
            const std::uint64_t word = WordAt(bytes.data() + i);
            const std::uint64_t feedBits = ZeroBytes(word ^ ('\n' * EachByte));
            const std::uint64_t returnBits = ZeroBytes(word ^ ('\r' * EachByte));
            feeds += feedBits >> 7;
            returns += returnBits >> 7;
            pairs += (((returnBits << 8) | returnBefore) & feedBits) >> 7;
            returnBefore = returnBits >> 56;
        }
        counts.feeds += SumOfBytes(feeds);
        counts.returns += SumOfBytes(returns);
        counts.pairs += SumOfBytes(pairs);
    }
    for (; i < bytes.size(); ++i)
    {
        const bool feed = bytes[i] == '\n';
        counts.feeds += feed;
        counts.pairs += feed && returnBefore != 0;
        returnBefore = bytes[i] == '\r';
        counts.returns += returnBefore;
    }
    return counts;
}

bool StartsWithByteOrderMark(std::string_view bytes)
{
    return bytes.substr(0, 3) == "\xEF\xBB\xBF";
}

// True when the bytes are valid UTF-8 and at least one of them lies above 0x7F, so that
// reading them as Windows-1252 would give a different text.
bool IsUtf8BeyondAscii(std::string_view bytes)
{
    bool beyondAscii = false;
    while (!bytes.empty())
    {
        bytes.remove_prefix(AsciiRunLength(bytes));
        if (bytes.empty())
            break;
        const std::size_t length = ValidUtf8SequenceLength(bytes);
        if (length == 0)
            return false;
        beyondAscii = true;
        bytes.remove_prefix(length);
    }
    return beyondAscii;
}

Text DecodeWindows1252(std::string_view bytes)
{
    Text text;
    text.reserve(bytes.size() + bytes.size() / 4);
    while (!bytes.empty())
    {
        // Most of a list is ASCII: copy such runs whole.
        const std::size_t ascii = AsciiRunLength(bytes);
        text.append(bytes.substr(0, ascii));
        bytes.remove_prefix(ascii);
        if (bytes.empty())
            break;
        AppendUtf8(text, Windows1252ToUnicode(static_cast<unsigned char>(bytes[0])));
        bytes.remove_prefix(1);
    }
    return text;
}

Text WithoutZeroBytes(std::string_view bytes)
{
    Text withoutZeros;
    withoutZeros.reserve(bytes.size());
    std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(withoutZeros),
                 [](char byte) { return byte != '\0'; });
    return withoutZeros;
}

bool IsReadAsUtf8(std::string_view bytesWithoutZeros)
{
    return StartsWithByteOrderMark(bytesWithoutZeros) || IsUtf8BeyondAscii(bytesWithoutZeros);
}

} // namespace

char32_t Windows1252ToUnicode(unsigned char byte)
{
    if (byte < 0x80 || byte > 0x9F)
        return byte;
    const char16_t mapped = CodePointsOf0x80To0x9F[byte - 0x80];
    return mapped == 0 ? char32_t{byte} : char32_t{mapped};
}

FileByteFacts AnalyseFileBytes(std::string_view bytes)
{
    FileByteFacts facts;
    if (const auto zero = bytes.find('\0'); zero != std::string_view::npos)
        facts.firstZeroByte = zero;
    facts.readAsUtf8 =
        facts.firstZeroByte ? IsReadAsUtf8(WithoutZeroBytes(bytes)) : IsReadAsUtf8(bytes);
    // Only bytes from 0x80 can be undefined, and plain runs are passed over whole.
    for (std::size_t at = 0; !facts.readAsUtf8 && at < bytes.size(); ++at)
    {
        at += AsciiRunLength(bytes.substr(at));
        if (at < bytes.size() && IsUndefinedInWindows1252(static_cast<unsigned char>(bytes[at])))
        {
            facts.firstUndefinedByte = at;
            break;
        }
    }
    // Most files end all their lines alike, which counting shows at the speed of reading;
    // only a file that mixes them is walked to find where.
    const LineEndCounts counts = CountLineEnds(bytes);
    const bool allPairs = counts.pairs == counts.feeds && counts.pairs == counts.returns;
    if (allPairs || (counts.pairs == 0 && (counts.feeds == 0 || counts.returns == 0)))
        return facts;
    std::string_view firstKind;
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte != '\r' && byte != '\n')
            continue;
        const std::size_t length =
            byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        const std::string_view kind = bytes.substr(i, length);
        if (firstKind.empty())
            firstKind = kind;
        else if (kind != firstKind)
        {
            facts.firstOtherLineEnd = i;
            break;
        }
        i += length - 1;
    }
    return facts;
}

std::size_t LineNumberOfOffset(std::string_view bytes, std::size_t offset)
{
    std::size_t line = 1;
    for (std::size_t i = 0; i < bytes.size() && i < offset; ++i)
    {
        if (bytes[i] == '\n' ||
            (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')))
            ++line;
    }
    return line;
}

Text DecodeFileBytes(std::string_view bytes)
{
    // A zero byte is dropped before anything else looks at the bytes, so that the bytes on
    // either side of it are read as if it had never been there.
    Text withoutZeros;
    if (bytes.find('\0') != std::string_view::npos)
    {
        withoutZeros = WithoutZeroBytes(bytes);
        bytes = withoutZeros;
    }
    // A file marked as UTF-8 stays UTF-8 even when a few of its bytes are not: those are
    // read as Windows-1252, and the valid rest of the file is kept as it was written.
    if (StartsWithByteOrderMark(bytes))
        return MakeDisplayable(bytes.substr(3));
    if (IsUtf8BeyondAscii(bytes))
        return Text(bytes);
    return DecodeWindows1252(bytes);
}
