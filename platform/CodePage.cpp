#include "platform/CodePage.h"

#include <algorithm>
#include <iterator>

namespace
{

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
        if (!facts.readAsUtf8 && !facts.firstUndefinedByte &&
            (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D))
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
