// Capitals made small, for comparisons without regard to case.
#include "platform/CaseFolding.h"

#include <gtest/gtest.h>
#include <string>

namespace
{

TEST(CaseFolding, SmallLettersOfTheLettersOfTheMenus)
{
    const std::pair<char32_t, char32_t> cases[] = {
        {'A', 'a'},   {'z', 'z'},   {'@', '@'},   {U'Ä', U'ä'}, {U'Þ', U'þ'},
        {U'×', U'×'}, {U'ß', U'ß'}, {U'ẞ', U'ß'}, {U'Ÿ', U'ÿ'}, {U'Ł', U'ł'},
        {U'ł', U'ł'}, {U'Ā', U'ā'}, {U'Ž', U'ž'}, {U'Ș', U'ș'}, {U'Ǚ', U'ǚ'},
        {U'İ', 'i'},  {U'Ω', U'ω'}, {U'Ё', U'ё'}, {U'Я', U'я'}, {U'я', U'я'},
    };
    for (const auto& [capital, small] : cases)
        EXPECT_EQ(ToSmallLetter(capital), small) << std::hex << static_cast<unsigned>(capital);
}

TEST(CaseFolding, NamesFoldOnlyAsciiAndLatin1Capitals)
{
    struct Case
    {
        const char* name;
        std::string text;
        std::string folded;
    };
    const Case cases[] = {
        {"Ascii", "Bremse.LST", "bremse.lst"},      {"Umlauts", "ÄÖÜ äöü", "äöü äöü"},
        {"SharpSAndTimesStay", "ß×", "ß×"},         {"BeyondLatin1Stays", "ŁÓDŹ", "ŁódŹ"},
        {"StrayBytesStay", "\xC4\xD6", "\xC4\xD6"}, {"LeadAtTheEnd", "A\xC3", "a\xC3"},
    };
    for (const Case& test : cases)
        EXPECT_EQ(FoldLatin1Case(test.text), test.folded) << test.name;
}

} // namespace
