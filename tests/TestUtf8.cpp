// UTF-8 one character at a time: what is read, what is written, and stray bytes.
#include "platform/Text.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

TEST(Utf8, EveryLengthRoundTripsAtItsEdges)
{
    for (const char32_t codePoint :
         {0x0u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10000u, 0x10FFFFu})
    {
        Text text;
        AppendUtf8(text, codePoint);
        EXPECT_EQ(ValidUtf8SequenceLength(text), text.size())
            << std::hex << static_cast<unsigned>(codePoint);
        std::string_view rest = text;
        EXPECT_EQ(TakeCharacter(rest), codePoint) << std::hex << static_cast<unsigned>(codePoint);
        EXPECT_TRUE(rest.empty());
    }
}

TEST(Utf8, StrayBytesAreReadOneByOneAsWindows1252)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        std::vector<char32_t> characters;
    };
    const Case cases[] = {
        {"Latin1Umlaut", "\xD6l", {0xD6, 'l'}},
        {"EuroSign", "\x80", {0x20AC}},
        {"UndefinedByte", "\x81", {0x81}},
        {"LeadWithoutContinuation",
         "\xC3"
         "A",
         {0xC3, 'A'}},
        {"CutShort", "\xE2\x82", {0xE2, 0x201A}},
        {"Overlong", "\xC0\xAF", {0xC0, 0xAF}},
        {"Surrogate", "\xED\xA0\x80", {0xED, 0xA0, 0x20AC}},
        {"PastTheLastCodePoint", "\xF4\x90\x80\x80", {0xF4, 0x0090, 0x20AC, 0x20AC}},
        {"ValidBetweenStray", "\xFF\xC3\xBC\xFF", {0xFF, 0xFC, 0xFF}},
    };
    for (const Case& test : cases)
    {
        std::string_view rest = test.bytes;
        std::vector<char32_t> characters;
        while (!rest.empty())
            characters.push_back(TakeCharacter(rest));
        EXPECT_EQ(characters, test.characters) << test.name;
        EXPECT_FALSE(IsValidUtf8(test.bytes)) << test.name;
    }
    EXPECT_TRUE(IsValidUtf8("Tür \xF0\x9F\x9A\x86"));
    EXPECT_TRUE(IsValidUtf8(""));
}


TEST(Utf8, DisplayableTextKeepsValidRunsAndReadsStrayBytesAsWindows1252)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        std::string shown;
    };
    const Case cases[] = {
        {"Empty", "", ""},
        {"Ascii", "Bremse an;", "Bremse an;"},
        {"NulKept", std::string("a\0b", 3), std::string("a\0b", 3)},
        {"Utf8Umlauts", "Gr\xC3\xBC\xC3\x9F", "Gr\xC3\xBC\xC3\x9F"},
        {"StrayBetweenValidRuns", "\xC3\xBC\xFC\xC3\xBC", "\xC3\xBC\xC3\xBC\xC3\xBC"},
        {"StrayAtStart", "\x80x", "\xE2\x82\xAC" "x"},
        {"LeadCutAtEnd", "ab\xE2\x82", "ab\xC3\xA2\xE2\x80\x9A"},
        {"FourBytes", "\xF0\x9F\x9A\x82!", "\xF0\x9F\x9A\x82!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MakeDisplayable(c.bytes), c.shown) << c.name;
}

} // namespace
