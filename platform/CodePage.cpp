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

} // namespace

Text DecodeFileBytes(std::string_view bytes)
{
    // A zero byte is dropped before anything else looks at the bytes, so that the bytes on
    // either side of it are read as if it had never been there.
    Text withoutZeros;
    if (bytes.find('\0') != std::string_view::npos)
    {
        withoutZeros.reserve(bytes.size());
        std::copy_if(bytes.begin(), bytes.end(), std::back_inserter(withoutZeros),
                     [](char byte) { return byte != '\0'; });
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
