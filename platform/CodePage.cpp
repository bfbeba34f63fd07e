#include "platform/CodePage.h"

#include "platform/Utf8.h"

#include <algorithm>
#include <array>
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
    const auto end =
        std::find_if(bytes.begin(), bytes.end(),
                     [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
    return static_cast<std::size_t>(end - bytes.begin());
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
    facts.readAsUtf8 = IsReadAsUtf8(facts.firstZeroByte ? WithoutZeroBytes(bytes) : Text(bytes));
    std::string_view firstKind;
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (!facts.readAsUtf8 && !facts.firstUndefinedByte && IsUndefinedInWindows1252(byte))
            facts.firstUndefinedByte = i;
        if (byte != '\r' && byte != '\n')
            continue;
        const std::size_t length =
            byte == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n' ? 2 : 1;
        const std::string_view kind = bytes.substr(i, length);
        if (firstKind.empty())
            firstKind = kind;
        else if (kind != firstKind && !facts.firstOtherLineEnd)
            facts.firstOtherLineEnd = i;
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
