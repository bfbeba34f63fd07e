#include "TestSupport.h"
#include "platform/CodePage.h"
#include "platform/PlainRuns.h"
#include "platform/ReadOnlyFile.h"
#include "runner/FileText.h"
#include "runner/LineFiller.h"
#include "runner/LineStore.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <utility>
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

    static std::vector<Text> ReadLines(const Text& path,
                                       ReadAhead readAhead = ReadAhead::ForLargeFiles)
    {
        CReadOnlyFile file;
        EXPECT_TRUE(file.Open(path)) << path;
        LineStore store;
        AppendFileLines(file, store, readAhead);
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
        // Runs of empty lines as long as a read of many bytes at once, and longer.
        {"EmptyLinesOnly", std::string(100, '\n'), std::vector<Text>(100)},
        {"EmptyLinesAfterText", "A\n" + std::string(64, '\n') + "B",
         []
         {
             std::vector<Text> lines(66);
             lines.front() = "A";
             lines.back() = "B";
             return lines;
         }()},
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

// The lines that the whole file gives at once, as the reading of files gave them before it
// read in blocks.
std::vector<Text> LinesOfWholeText(std::string_view bytes)
{
    LineStore store;
    store.AppendLines(DecodeFileBytes(bytes));
    return store.Entries();
}

// The bytes handed to the filler in pieces that end at each of `cuts`.
std::vector<Text> LinesOfPieces(std::string_view bytes, const std::vector<std::size_t>& cuts)
{
    LineStore store;
    CLineFiller filler(store, bytes.size());
    std::size_t start = 0;
    for (const std::size_t cut : cuts)
    {
        filler.Add(bytes.substr(start, cut - start));
        start = cut;
    }
    filler.Add(bytes.substr(start));
    filler.Finish();
    return store.Entries();
}

// Each way of reading plain lines that this processor has, for one test to go through in turn.
// The widest is used again when the test ends.
class CEachPlainInstructions
{
public:
    CEachPlainInstructions()
    {
        for (const PlainInstructions instructions : EveryPlainInstructions)
            if (instructions <= AvailablePlainInstructions())
                m_instructions.push_back(instructions);
    }
    ~CEachPlainInstructions() { LimitPlainInstructions(AvailablePlainInstructions()); }
    CEachPlainInstructions(const CEachPlainInstructions&) = delete;
    CEachPlainInstructions& operator=(const CEachPlainInstructions&) = delete;

    // Calls `test` once for each, with the reading limited to it.
    template <typename Test> void ForEach(const Test& test) const
    {
        for (const PlainInstructions instructions : m_instructions)
        {
            LimitPlainInstructions(instructions);
            SCOPED_TRACE(testing::Message() << "instructions " << static_cast<int>(instructions));
            test();
        }
    }

private:
    std::vector<PlainInstructions> m_instructions;
};

struct CPieceCase
{
    const char* name;
    std::string bytes;
};

// Bytes whose reading depends on what follows them: a CR before a LF, the bytes of one
// UTF-8 sequence, a byte order mark, zero bytes between any of them, and a byte late in the
// file that makes all of it Windows-1252.
std::vector<CPieceCase> PieceCases()
{
    return {
        {"CrLf", "A\r\nB\r\n\r\nC"},
        {"LoneCrThenLf", "A\r\rB\n\nC\r"},
        {"ZeroBetweenCrAndLf", "A\r\0\0\nB\r\0"s},
        {"Utf8Sequences", "\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80\r\n\xC3\x9F"},
        {"ZeroInsideSequence", "x\xE2\0\x82\0\xAC\r\n"s},
        {"Mark", "\xEF\xBB\xBF\xC3\xA4\r\nB"},
        {"MarkSplitByZeros", "\0\xEF\0\xBB\0\xBF\xC3\xA4"s},
        {"MarkWithStrayBytes", "\xEF\xBB\xBFT\xC3\xBCr \xA7\x80\r\n\xE2\x82"},
        {"MarkOnly", "\xEF\xBB\xBF"},
        {"HalfAMark", "\xEF\xBB"},
        {"LateInvalidByte", "\xC3\xA4\r\n\r\n\xE2\x82\xAC x\r\n\xC2\x80\xFC\r\nende"},
        {"CutSequenceAtEnd", "T\xC3\xBCr\r\n\xE2\x82"},
        {"EveryByte",
         []
         {
             std::string bytes;
             for (int byte = 255; byte >= 0; --byte)
                 bytes += static_cast<char>(byte);
             return bytes;
         }()},
    };
}

TEST(LineFillerTest, PiecesGiveTheLinesOfTheWholeText)
{
    CEachPlainInstructions().ForEach(
        []
        {
            for (const CPieceCase& test : PieceCases())
            {
                // After a first line, the code page is decided before the case's bytes come.
                for (const std::string& bytes : {test.bytes, "Vorlauf\r\n" + test.bytes})
                {
                    const std::vector<Text> whole = LinesOfWholeText(bytes);
                    EXPECT_EQ(LinesOfPieces(bytes, {}), whole) << test.name;
                    for (std::size_t cut = 0; cut <= bytes.size(); ++cut)
                        EXPECT_EQ(LinesOfPieces(bytes, {cut}), whole)
                            << test.name << " cut at " << cut;
                    std::vector<std::size_t> everyByte;
                    for (std::size_t cut = 1; cut < bytes.size(); ++cut)
                        everyByte.push_back(cut);
                    EXPECT_EQ(LinesOfPieces(bytes, everyByte), whole)
                        << test.name << " byte by byte";
                }
            }
        });
}

// Texts made at random from the bytes that the ways of reading must tell apart, long enough
// for reads of up to sixty-four bytes at a time to meet each of them at every place.
TEST(LineFillerTest, RandomTextsGiveTheLinesOfTheWholeText)
{
    const std::vector<std::string> utf8Pieces = {"a",
                                                 "Zug ",
                                                 "Bremse pr\xC3\xBC"
                                                 "fen",
                                                 "\xC3\xBC",
                                                 "\xC3\x9F",
                                                 "\xC2\xA0",
                                                 "\xE2\x82\xAC",
                                                 "\xF0\x9F\x98\x80",
                                                 "\r\n",
                                                 "\n",
                                                 "\n\n\n\n\n",
                                                 std::string(70, '\n'),
                                                 "\r",
                                                 "\t",
                                                 "\0"s,
                                                 "abcdefghijklmnopq",
                                                 "T\xC3\xBCren schlie\xC3\x9F"
                                                 "en, Spannung pr\xC3\xBC"
                                                 "fen;\r\n"};
    const std::vector<std::string> otherPieces = {
        "\xFC", "\xDF", "\xA0", "\xFF", "\x80", "\x9F", "\xC3", "\xBC", "\xEF\xBB\xBF",
        // Two bytes that look like a character and are not: the lead of an overlong one.
        "\xC0\x80", "\xC1\xBF"};
    CEachPlainInstructions().ForEach(
        [&]
        {
            std::minstd_rand random(7);
            for (int round = 0; round < 1500; ++round)
            {
                // Every other text stays UTF-8; in the others one byte may come late that
                // is not. Some are long, for many runs of the widest reads in a row.
                std::string bytes = round % 5 == 0 ? "\xEF\xBB\xBF" : "";
                const std::size_t count = random() % (round % 16 == 0 ? 1000 : 80);
                for (std::size_t piece = 0; piece < count; ++piece)
                {
                    if (round % 2 == 1 && random() % 8 == 0)
                        bytes += otherPieces[random() % otherPieces.size()];
                    else
                        bytes += utf8Pieces[random() % utf8Pieces.size()];
                }
                const std::vector<Text> whole = LinesOfWholeText(bytes);
                ASSERT_EQ(LinesOfPieces(bytes, {}), whole) << testing::PrintToString(bytes);
                const std::size_t cut = bytes.empty() ? 0 : random() % bytes.size();
                ASSERT_EQ(LinesOfPieces(bytes, {cut}), whole)
                    << testing::PrintToString(bytes) << " cut at " << cut;
            }
        });
}

TEST(LineFillerTest, EntriesBeforeTheFileStay)
{
    // Reading the file again as Windows-1252 rewrites only its own text.
    for (const std::string& bytes : {"a\xC3\xA4\r\nb\xFC"s, "\xEF\xBB\xBFx\r\n"s, "y"s, ""s})
    {
        LineStore store;
        store.Append("vorher \xC3\xA4");
        store.Append("");
        CLineFiller filler(store, 0);
        filler.Add(bytes);
        filler.Finish();
        std::vector<Text> expected = {"vorher \xC3\xA4", ""};
        for (const Text& line : LinesOfWholeText(bytes))
            expected.push_back(line);
        EXPECT_EQ(store.Entries(), expected) << bytes;
    }
}

TEST(AnalyseFileBytesTest, FindsTheFirstLineEndOfAnotherKind)
{
    // Lines of seven letters and their end, so that line ends fall at every place of the
    // eight-byte words the bytes are counted in.
    const auto lines = [](int count, std::string_view end)
    {
        std::string bytes;
        for (int i = 0; i < count; ++i)
            bytes += "Schritt" + std::string(end);
        return bytes;
    };
    struct CCase
    {
        const char* name;
        std::string bytes;
        std::optional<std::size_t> otherLineEnd;
    };
    const std::string pairs = lines(300, "\r\n");
    const CCase cases[] = {
        {"AllCrLf", pairs, std::nullopt},
        {"AllLf", lines(300, "\n"), std::nullopt},
        {"AllCr", lines(300, "\r"), std::nullopt},
        {"NoLineEnd", std::string(100, 'x'), std::nullopt},
        {"LfLate", pairs + "x\n", pairs.size() + 1},
        {"CrLate", pairs + "x\ry", pairs.size() + 1},
        {"LfFirst", "a\n" + pairs, 9},
        {"CrBeforeCrLf", "a\r\r\n", 2},
        {"CrLfAcrossAWord", "abcdefg\r\nxyz\n", 12},
        {"LfThenCrLf", lines(200, "\n") + "\r\n", 1600},
        // As many pairs as feeds and returns, but not as pairs.
        {"LfCrBalanced", std::string(20, 'x') + "\n\r" + std::string(20, 'y') + "\r\n", 21},
    };
    for (const CCase& test : cases)
        EXPECT_EQ(AnalyseFileBytes(test.bytes).firstOtherLineEnd, test.otherLineEnd) << test.name;
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
    AppendFileLines(grown, store);
    EXPECT_EQ(store.Entries(), (std::vector<Text>{"A", "B", "C"}));

    CReadOnlyFile shrunk;
    ASSERT_TRUE(shrunk.Open(path));
    std::filesystem::resize_file(path, 2);
    EXPECT_EQ(ReadFileText(shrunk), "A\r");
}

TEST_F(FileTextTest, LargeFilesAreReadAsTheirWholeText)
{
    // Lines of every length up to some hundreds of bytes, so that wherever the reading cuts
    // the file into blocks, some cut falls in CR LF, inside a UTF-8 sequence and beside a
    // zero byte; in the Windows-1252 file the first byte that is no UTF-8 comes late, after
    // megabytes stored as UTF-8.
    std::string utf8;
    for (int length = 0; utf8.size() < 3'000'000; length = (length + 1) % 700)
    {
        utf8 += std::string(static_cast<std::size_t>(length % 5), 'a') + "\xC3\xBC";
        utf8 += std::string(static_cast<std::size_t>(length), 'x');
        utf8 += length % 3 == 0 ? "\r\n" : length % 3 == 1 ? "\xE2\x82\xAC\n" : "\0\r"s;
    }
    const std::string late = utf8 + "\xFC\r\n\x80";
    const std::string marked = "\xEF\xBB\xBF" + late;
    for (const auto& [name, bytes] :
         {std::pair{"utf8", utf8}, std::pair{"late", late}, std::pair{"marked", marked}})
    {
        const std::vector<Text> lines = ReadLines(WriteFile(name, bytes));
        EXPECT_TRUE(lines == LinesOfWholeText(bytes)) << name;
    }
}

TEST_F(FileTextTest, FilesReadAheadGiveTheLinesOfTheWholeText)
{
    // Megabytes of UTF-8 that is read in place, lines ending in CR LF, LF and a lone CR, some
    // at the ends of the blocks read ahead; then, late, whatever makes the reading leave its
    // place while the thread has read on: the bytes taken meanwhile must not be lost. Early,
    // it makes the rest go through the ring that the thread reads into.
    std::string plain;
    for (int line = 0; plain.size() < 2'600'000; ++line)
    {
        plain += "Zeile " + std::to_string(line) +
                 " T\xC3\xBCr schlie\xC3\x9F"
                 "en";
        plain += line % 7 == 0 ? "\xE2\x80\x9E\xF0\x9F\x98\x80" : "";
        plain += line % 3 == 0 ? "\r\n" : line % 3 == 1 ? "\n" : "\r";
    }
    for (const std::size_t blockEnd : {262144u, 524288u, 1048576u})
        plain.replace(blockEnd - 1, 2, "\r\n");
    // The bytes put in after the next LF, so that they part no UTF-8 sequence.
    const auto with = [&plain](std::size_t near, std::string_view bytes)
    {
        const std::size_t at = plain.find('\n', near) + 1;
        return plain.substr(0, at) + std::string(bytes) + plain.substr(at);
    };
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"plain", plain},
        {"plainEndingInCr", plain + "\r"},
        {"zeroByteLate", with(1'500'000, "\0"s)},
        {"zeroAfterCrLate", with(1'700'000, "\r\0\n"s)},
        {"windows1252Late", with(2'000'000, "\xFC")},
        {"windows1252AtTheEnd", plain + "\xFC"},
        {"windows1252AtTheStart", "\xFC" + plain},
        {"zeroByteAtTheStart", "\0"s + plain},
        {"markedWithStrayByteLate", "\xEF\xBB\xBF" + with(1'200'000, "\x80")},
        {"cutSequenceAtTheEnd", plain + "\xE2\x82"},
        {"runsOfLineEnds", with(1'000'000,
                                []
                                {
                                    // Runs of every length past a read, so that one ends
                                    // where a read does.
                                    std::string runs;
                                    for (std::size_t length = 64; length < 130; ++length)
                                        runs += std::string(length, '\r') + "\nx" +
                                                std::string(length, '\n') + "y";
                                    return runs;
                                }())},
    };
    CEachPlainInstructions().ForEach(
        [&]
        {
            for (const auto& [name, bytes] : cases)
            {
                const std::vector<Text> whole = LinesOfWholeText(bytes);
                const Text path = WriteFile(name, bytes);
                EXPECT_TRUE(ReadLines(path, ReadAhead::Always) == whole) << name;
                EXPECT_TRUE(ReadLines(path, ReadAhead::ForLargeFiles) == whole) << name;
            }
        });
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
