// Any bytes as a list or text file, read into the line store as the runner reads them.
//
// What holds, with "the bytes" meaning the file's bytes with every zero byte dropped (the
// reading treats them as never written) and "line end" meaning CR LF, a lone LF or a lone CR:
// - the text is valid UTF-8 without a zero byte, and it is the bytes read in one code page:
//   written back in Windows-1252 it gives the bytes again, or, read as UTF-8, it is the bytes
//   after a byte order mark, or all of them without one, when those are valid UTF-8
//   throughout (stray bytes in a marked file are read as Windows-1252 one by one, which
//   cannot be told apart from UTF-8 written for the same characters, so there only validity
//   is asserted); AnalyseFileBytes tells the checker the same code page that the reading chose;
// - no entry of the store holds CR, LF or a zero byte;
// - the entries joined by LF give the text back with each line end written as LF and one at
//   its very end dropped: an entry for each line end, and one more for a last line without;
// - read from a file, the bytes give the same text, and filled into the store from the file or
//   in pieces of any sizes, the same entries, after those the store held before;
// - as long as no zero byte follows a CR, LineNumberOfOffset counts the same lines as the
//   store. (A zero byte between CR and LF is dropped before the line ends are cut, so the
//   store sees one line end where the raw bytes show two.)
#include "fuzz/ScratchFolder.h"
#include "platform/CodePage.h"
#include "platform/PlainRuns.h"
#include "platform/ReadOnlyFile.h"
#include "platform/Utf8.h"
#include "runner/FileText.h"
#include "runner/LineFiller.h"
#include "runner/LineStore.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace
{
void Require(bool holds)
{
    if (!holds)
        std::abort();
}

bool IsLineEnd(char byte)
{
    return byte == '\r' || byte == '\n';
}

// Each line end of the text as LF, and one at its very end dropped.
std::string WithLineFeeds(std::string_view text)
{
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (!IsLineEnd(text[i]))
        {
            result += text[i];
            continue;
        }
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (i + 1 < text.size())
            result += '\n';
    }
    return result;
}

std::size_t LineEndCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        if (!IsLineEnd(text[i]))
            continue;
        ++count;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    return count;
}

// The Windows-1252 bytes of a text of valid UTF-8; nothing when a character has none.
std::optional<std::string> AsWindows1252(std::string_view text)
{
    static const std::map<char32_t, char> bytes = []
    {
        std::map<char32_t, char> table;
        for (int byte = 0; byte < 256; ++byte)
            table.emplace(Windows1252ToUnicode(static_cast<unsigned char>(byte)),
                          static_cast<char>(byte));
        return table;
    }();
    std::string result;
    while (!text.empty())
    {
        const auto found = bytes.find(TakeCharacter(text));
        if (found == bytes.end())
            return std::nullopt;
        result += found->second;
    }
    return result;
}

void CheckDecoding(std::string_view raw, const Text& text)
{
    std::string bytes;
    std::copy_if(raw.begin(), raw.end(), std::back_inserter(bytes),
                 [](char byte) { return byte != '\0'; });
    Require(IsValidUtf8(text));
    Require(text.find('\0') == Text::npos);

    const FileByteFacts facts = AnalyseFileBytes(raw);
    Require(facts.firstZeroByte == (raw.find('\0') == std::string_view::npos
                                        ? std::nullopt
                                        : std::optional<std::size_t>(raw.find('\0'))));
    const bool marked = bytes.starts_with("\xEF\xBB\xBF");
    const bool beyondAscii =
        std::any_of(bytes.begin(), bytes.end(),
                    [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
    Require(facts.readAsUtf8 == (marked || (beyondAscii && IsValidUtf8(bytes))));
    if (!facts.readAsUtf8)
    {
        Require(AsWindows1252(text) == bytes);
        return;
    }
    const std::string_view written = std::string_view(bytes).substr(marked ? 3 : 0);
    if (IsValidUtf8(written))
        Require(text == written);
}

void CheckLines(const Text& text, const LineStore& store)
{
    const auto& entries = store.Entries();
    std::string joined;
    for (std::size_t i = 0; i < entries.size(); ++i)
    {
        Require(entries[i].find_first_of(std::string_view("\r\n\0", 3)) == Text::npos);
        if (i > 0)
            joined += '\n';
        joined += entries[i];
    }
    Require(joined == WithLineFeeds(text));
    const bool openLastLine = !text.empty() && !IsLineEnd(text.back());
    Require(entries.size() == LineEndCount(text) + (openLastLine ? 1 : 0));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    const Text text = DecodeFileBytes(raw);
    CheckDecoding(raw, text);

    LineStore store;
    store.AppendLines(text);
    CheckLines(text, store);

    // Handed over in pieces whose sizes the bytes choose, the bytes give the same lines.
    LineStore pieces;
    pieces.Append("vorher");
    CLineFiller filler(pieces, size);
    for (std::size_t start = 0, piece = 0; start < size; start += piece)
    {
        piece = 1 + data[start] % 7;
        filler.Add(raw.substr(start, piece));
    }
    filler.Finish();
    std::vector<Text> expected = {"vorher"};
    for (const Text& line : store.Entries())
        expected.push_back(line);
    Require(pieces.Entries() == expected);

    // Handed over whole, with each set of instructions that the processor has, the bytes give
    // the same lines.
    for (const PlainInstructions instructions : EveryPlainInstructions)
    {
        if (instructions > AvailablePlainInstructions())
            continue;
        LimitPlainInstructions(instructions);
        LineStore whole;
        CLineFiller wholeFiller(whole, size);
        wholeFiller.Add(raw);
        wholeFiller.Finish();
        Require(whole.Entries() == store.Entries());
    }
    LimitPlainInstructions(AvailablePlainInstructions());

    const std::string path = ScratchProgramFolder() + "Thema/t.txt";
    WriteScratchFile(path, data, size);
    CReadOnlyFile file;
    Require(file.Open(path));
    Require(ReadFileText(file) == text);
    CReadOnlyFile again;
    Require(again.Open(path));
    LineStore read;
    AppendFileLines(again, read);
    Require(read.Entries() == store.Entries());
    // The thread that reads ahead starts and ends around what the first block left.
    CReadOnlyFile ahead;
    Require(ahead.Open(path));
    LineStore readAhead;
    AppendFileLines(ahead, readAhead, ReadAhead::Always);
    Require(readAhead.Entries() == store.Entries());

    if (raw.find(std::string_view("\r\0", 2)) == std::string_view::npos)
        Require(LineNumberOfOffset(raw, raw.size()) == 1 + LineEndCount(text));
    return 0;
}
