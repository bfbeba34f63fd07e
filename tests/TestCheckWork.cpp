// The work of the checker grows with the lines of a list, whatever their shape: lists where
// every screen lies thousands of lines after the last step end made it read the list once per
// screen. The checker counts the lines it reads, so no test has to time it.
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
};

void PrintTo(const ShapeCase& shape, std::ostream* output)
{
    *output << shape.name;
}

class CheckWork : public testing::TestWithParam<ShapeCase>
{
};

TEST_P(CheckWork, LinesReadGrowWithTheLines)
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
}

INSTANTIATE_TEST_SUITE_P(Shapes, CheckWork, testing::ValuesIn(ShapeCases),
                         [](const auto& info) { return std::string(info.param.name); });
} // namespace
