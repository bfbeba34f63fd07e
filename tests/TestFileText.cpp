#include "TestSupport.h"
#include "platform/CodePage.h"
#include "platform/ReadOnlyFile.h"
#include "runner/FileText.h"
#include "runner/LineStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace std::string_literals;

namespace
{

class FileTextTest : public testing::Test
{
protected:
    Text WriteFile(const std::string& name, const std::string& bytes) const
    {
        return m_folder.Write(name, bytes);
    }

    Text PathOf(const std::string& name) const { return m_folder.Path() / name; }

    static std::vector<Text> ReadLines(const Text& path)
    {
        CReadOnlyFile file;
        EXPECT_TRUE(file.Open(path)) << path;
        LineStore store;
        store.AppendLines(ReadFileText(file));
        return store.Entries();
    }

    CTemporaryFolder m_folder;
};

struct CFileCase
{
    const char* name;
    std::string bytes;
    std::vector<Text> lines;
};

std::vector<CFileCase> FileCases()
{
    return {
        {"CrLfInFileOrder", "A;\r\nB\r\nC;\r\n", {"A;", "B", "C;"}},
        {"EmptyLineIsEmptyEntry", "A\r\n\r\nB\r\n", {"A", "", "B"}},
        {"EmptyFile", "", {}},
        {"OneByte", "A", {"A"}},
        {"FourBytes", "A;\r\n", {"A;"}},
        {"LineFeedsOnly", "eins\nzwei\ndrei\n", {"eins", "zwei", "drei"}},
        {"CarriageReturnsOnly", "eins\rzwei\rdrei", {"eins", "zwei", "drei"}},
        {"Mixed", "a\r\nbb\ncc\r\rd", {"a", "bb", "cc", "", "d"}},
        {"LastLineWithoutLineEnd", "A\r\nBC", {"A", "BC"}},
        {"LastLineOfOneByte", "Anfang\r\nX", {"Anfang", "X"}},
        {"ZeroByteAlone", "\0"s, {}},
        {"ZeroBytesDroppedSingly", "A\0\0B\r\nC\0"s, {"AB", "C"}},
        {"ZeroAtFour", "ABCD\0EFGHIJ\r\nK"s, {"ABCDEFGHIJ", "K"}},
        {"ZeroAtFive", "ABCDE\0FGHIJ\r\nK"s, {"ABCDEFGHIJ", "K"}},
        {"ZeroAtSix", "ABCDEF\0GHIJ\r\nK"s, {"ABCDEFGHIJ", "K"}},
        {"ZeroBetweenCrAndLf", "A\r\0\nB"s, {"A", "B"}},
        {"SpacesAndTabsKept", "  A\t\r\n\t \r\n B ", {"  A\t", "\t ", " B "}},
        {"Windows1252Letters",
         "T\xFCr\r\n\xA7 3\r\n\xC4\xD6\xDC\xE4\xF6\xFC\xDF",
         {"Tür", "§ 3", "ÄÖÜäöüß"}},
        {"Windows1252Punctuation", "\x80\x84\x96\x9F", {"€„–Ÿ"}},
        {"UndefinedBytes", "\x81\x8D\x8F\x90\x9D", {"\u0081\u008D\u008F\u0090\u009D"}},
        {"Utf8", "T\xC3\xBCr\r\n\xC2\xA7 3\r\n\xC3\x9F", {"Tür", "§ 3", "ß"}},
        {"Utf8WithMark",
         "\xEF\xBB\xBF"
         "A\xC3\xA4\r\nB",
         {"Aä", "B"}},
        {"MarkOnly", "\xEF\xBB\xBF", {}},
        {"AlmostUtf8", "Gr\xC3\xBC\xDF", {"GrÃ¼ß"}},
        {"OverlongIsNotUtf8", "\xC0\xAF", {"À¯"}},
        {"CutSequenceIsNotUtf8", "T\xC3\xBCr\r\n\xE2\x82", {"TÃ¼r", "â‚"}},
    };
}

TEST_F(FileTextTest, FileBytesBecomeEntries)
{
    for (const CFileCase& test : FileCases())
        EXPECT_EQ(ReadLines(WriteFile(test.name, test.bytes)), test.lines) << test.name;
}

TEST(DecodeFileBytesTest, DecidesBetweenUtf8AndWindows1252)
{
    struct CCase
    {
        const char* name;
        std::string bytes;
        Text text;
    };
    const CCase cases[] = {
        {"Ascii", "plain\ttext", "plain\ttext"},
        {"ZeroInsideUtf8Sequence", "\xC3\0\xBC"s, "ü"},
        // Marked as UTF-8: the valid sequences stay, a stray byte is read as Windows-1252.
        {"MarkedWithStrayBytes", "\xEF\xBB\xBFT\xC3\xBCr \xA7\x80", "Tür §€"},
        {"MarkNotAtStart", "A\xEF\xBB\xBF", "A\uFEFF"},
        {"HalfAMark", "\xEF\xBB", "ï»"},
    };
    for (const CCase& test : cases)
        EXPECT_EQ(DecodeFileBytes(test.bytes), test.text) << test.name;
}

TEST_F(FileTextTest, OnlyRegularFilesOpen)
{
    const Text regular = WriteFile("liste.lst", "A\r\n");
    ASSERT_EQ(::mkfifo(PathOf("fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", m_folder.Path() / "zero");
    std::filesystem::create_symlink(regular, m_folder.Path() / "link.lst");
    std::filesystem::create_directory(m_folder.Path() / "ordner");

    CReadOnlyFile file;
    for (const char* name : {"fifo", "zero", "ordner", "fehlt.lst"})
        EXPECT_FALSE(file.Open(PathOf(name))) << name;
    EXPECT_FALSE(file.Open(""));
    EXPECT_FALSE(file.Open(regular + "\0.txt"s));

    ASSERT_TRUE(file.Open(PathOf("link.lst")));
    EXPECT_EQ(file.Length(), 3u);
    // A failed open leaves no file open behind it.
    EXPECT_FALSE(file.Open(PathOf("fifo")));
    char buffer[8];
    EXPECT_EQ(file.Read(buffer, sizeof buffer), 0u);
}

TEST_F(FileTextTest, FileOverTheLimitDoesNotOpen)
{
    const Text atLimit = WriteFile("gross", "");
    const Text overLimit = WriteFile("zu-gross", "");
    std::filesystem::resize_file(atLimit, MaximumFileBytes);
    std::filesystem::resize_file(overLimit, MaximumFileBytes + 1);
    CReadOnlyFile file;
    EXPECT_TRUE(file.Open(atLimit));
    EXPECT_EQ(file.Length(), MaximumFileBytes);
    EXPECT_FALSE(file.Open(overLimit));
}

TEST_F(FileTextTest, ReadsWhatTheFileHoldsWhenRead)
{
    const Text path = WriteFile("waechst.lst", "A\r\n");
    CReadOnlyFile grown;
    ASSERT_TRUE(grown.Open(path));
    std::ofstream(path, std::ios::binary | std::ios::app) << "B\r\nC";
    LineStore store;
    store.AppendLines(ReadFileText(grown));
    EXPECT_EQ(store.Entries(), (std::vector<Text>{"A", "B", "C"}));

    CReadOnlyFile shrunk;
    ASSERT_TRUE(shrunk.Open(path));
    std::filesystem::resize_file(path, 2);
    EXPECT_EQ(ReadFileText(shrunk), "A\r");
}

TEST_F(FileTextTest, LargeFileIsReadWhole)
{
    std::string bytes;
    constexpr int lineCount = 800000;
    for (int i = 0; i < lineCount; ++i)
        bytes += "Zeile " + std::to_string(i) + " mit etwas Text \xFC\r\n";
    bytes += "Ende";
    ASSERT_GT(bytes.size(), 20'000'000u);
    const std::vector<Text> lines = ReadLines(WriteFile("gross.lst", bytes));
    ASSERT_EQ(lines.size(), lineCount + 1u);
    EXPECT_EQ(lines[0], "Zeile 0 mit etwas Text ü");
    EXPECT_EQ(lines[lineCount - 1], "Zeile " + std::to_string(lineCount - 1) + " mit etwas Text ü");
    EXPECT_EQ(lines[lineCount], "Ende");
}

} // namespace
