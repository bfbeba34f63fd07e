// The work of the checker grows with the lines of a list, whatever their shape: lists where
// every screen lies thousands of lines after the last step end made it read the list once per
// screen, and names that differ in case made it read their folder once per name. The checker
// counts the lines and folder entries it reads, so no test has to time it.
#include "TestSupport.h"
#include "check/ListChecker.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <string>

using namespace std::string_literals;

namespace
{
constexpr int Repeats = 3000;

struct ShapeCase
{
    const char* name;
    const char* head;                         // once, at the start of the list
    std::function<std::string(int)> repeated; // the lines of one repeat, each ending in "\n"
    const char* textFile;                     // "t.txt", which the list may load
    int pictures = 0;                         // "Bild0.png" ... in the list's folder
};

const ShapeCase ShapeCases[] = {
    {"StopwatchChecksAfterOneStart", "$Bremse\n:120 Bremse\n", [](int) { return ":\n"s; }, ""},
    {"PicturesWithoutStepEnds", "Anfang;\n", [](int) { return "*bild.png\n"s; }, ""},
    {"ChecksAndPicturesBetweenTwoStepEnds", "Eins;\n:60 Uhr\nZwei;\n",
     [](int) { return "Text,\n:\n*bild.png\n"s; }, ""},
    {"AnswersThatEndTheList", "",
     [](int i)
     {
         const std::string n = std::to_string(i);
         return "Frage " + n + "?\nja" + n + "/nein" + n + "\n%ja" + n + "\n@\n%nein" + n + "\n";
     },
     ""},
    {"LabelsAndJumps", "",
     [](int i) { return "%m" + std::to_string(i) + "\n@m" + std::to_string(i + 1) + "\n"; }, ""},
    {"StepsOfManyLines", "", [](int) { return "eins,\nzwei,\ndrei,\nvier;\n"s; }, ""},
    {"ChecksInALoadedTextFile", "Los;\n§t.txt\n", [](int) { return ":\n"s; }, ":30 Uhr\n"},
    {"PicturesNamedInOtherCase", "",
     [](int i) { return "*bild" + std::to_string(i) + ".PNG\nSchritt;\n"; }, "", Repeats},
    {"MissingPicturesBesideManyFiles", "",
     [](int i) { return "*fehlt" + std::to_string(i) + ".png\nSchritt;\n"; }, "", Repeats},
};

void PrintTo(const ShapeCase& shape, std::ostream* output)
{
    *output << shape.name;
}

class CheckWork : public testing::TestWithParam<ShapeCase>
{
};

TEST_P(CheckWork, WorkGrowsWithTheLines)
{
    const ShapeCase& shape = GetParam();
    CTemporaryFolder folder;
    std::string list = shape.head;
    std::string textFile = shape.textFile;
    for (int i = 0; i < Repeats; ++i)
        (textFile.empty() ? list : textFile) += shape.repeated(i);
    if (!textFile.empty())
        textFile += ":\n";
    list += "Ende;\n";
    folder.Write("P/T/liste.lst", list);
    folder.Write("P/T/t.txt", textFile);
    folder.Write("P/T/bild.png", "picture");
    for (int i = 0; i < shape.pictures; ++i)
        folder.Write("P/T/Bild" + std::to_string(i) + ".png", "picture");
    const auto lines = std::count(list.begin(), list.end(), '\n') +
                       std::count(textFile.begin(), textFile.end(), '\n');

    const std::string program = folder.Folder() + "P/";
    CListChecker checker(nullptr);
    checker.CheckList(program, program + "T/", "liste.lst");
    checker.Finish();
    // A pass reads a line once as it stands and once trimmed, and each file is indexed once.
    EXPECT_LE(checker.LinesRead(), 3 * lines + 8) << lines << " lines";
    // The shape must make the checker read its lines at all.
    EXPECT_GE(checker.LinesRead(), lines / 2) << lines << " lines";
    // The folder holds the list, the text file, "bild.png" and the pictures: read once, when
    // a name is not found as it stands.
    const auto entries = static_cast<std::size_t>(shape.pictures) + 3;
    EXPECT_LE(checker.FolderEntriesRead(), entries);
    if (shape.pictures > 0)
    {
        EXPECT_EQ(checker.FolderEntriesRead(), entries);
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, CheckWork, testing::ValuesIn(ShapeCases),
                         [](const auto& info) { return std::string(info.param.name); });
} // namespace
