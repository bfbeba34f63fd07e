#include "runner/LineStore.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

struct CCuttingCase
{
    const char* name;
    std::string text;
    std::vector<Text> lines;
};

std::vector<CCuttingCase> CuttingCases()
{
    return {
        {"LineEndAtEndAddsNoEntry", "A;\r\n", {"A;"}},
        {"OnlyLineEnd", "\r\n", {""}},
        {"LineFeedsOnly", "eins\nzwei\n\ndrei\n", {"eins", "zwei", "", "drei"}},
        {"CarriageReturnsOnly", "eins\rzwei\rX\r", {"eins", "zwei", "X"}},
        {"LineFeedThenCarriageReturnIsTwoEnds", "A\n\rB", {"A", "", "B"}},
        {"MixedLineEnds", "a\r\nb\nc\rd\r\n\ne", {"a", "b", "c", "d", "", "e"}},
    };
}

TEST(LineStoreTest, AppendLinesCutsAtEveryKindOfLineEnd)
{
    for (const CCuttingCase& test : CuttingCases())
    {
        LineStore store;
        store.AppendLines(test.text);
        EXPECT_EQ(store.Entries(), test.lines) << test.name;
        EXPECT_EQ(store.Count(), static_cast<std::int32_t>(test.lines.size())) << test.name;
    }
}

TEST(LineStoreTest, AppendLinesAddsAfterExistingEntriesAndClearEmpties)
{
    LineStore store;
    store.Append("zuerst");
    store.AppendLines("b\r\na");
    EXPECT_EQ(store.Entries(), (std::vector<Text>{"zuerst", "b", "a"}));
    store.Clear();
    EXPECT_EQ(store.Count(), 0);
    store.AppendLines("x");
    EXPECT_EQ(store.Entries(), (std::vector<Text>{"x"}));
}

TEST(LineStoreTest, GetTextOutsideTheStoreIsEmpty)
{
    LineStore store;
    EXPECT_EQ(store.GetText(0), "");
    EXPECT_EQ(store.GetText(-1), "");
    store.Append("A");
    store.AddSorted("B");
    EXPECT_EQ(store.GetText(1), "B");
    EXPECT_EQ(store.GetText(2), "");
    EXPECT_EQ(store.GetText(-1), "");
    EXPECT_EQ(store.GetText(INT32_MIN), "");
}

TEST(CollatesBeforeTest, OrdersPairs)
{
    struct CPair
    {
        const char* before;
        const char* after;
    };
    const CPair pairs[] = {
        {"apfel", "Birne"},
        {"Apfel", "birne"},
        {"Ärger", "Birne"},
        {"Anton", "Ärger"},
        {"Ofen", "Öl"},
        {"Öl", "Pause"},
        {"Masse", "Maße"},
        {"Maße", "Mast"},
        {"Übung", "Uhr"},
        {"Übung", "Vogel"},
        {"Église", "Fenster"},
        {"Æble", "Af"},
        {"Stop", "Štúr"},
        {"Łódź", "Lz"},
        {"", "a"},
        {"a", "ab"},
        {"10 Bremse", "A Bremse"},
        {"Zug", "zugfahrt"},
    };
    for (const CPair& pair : pairs)
    {
        EXPECT_TRUE(CollatesBefore(pair.before, pair.after)) << pair.before << " < " << pair.after;
        EXPECT_FALSE(CollatesBefore(pair.after, pair.before)) << pair.after << " < " << pair.before;
    }
}

TEST(CollatesBeforeTest, TieBreakMakesAStrictTotalOrder)
{
    // Alike without regard to case and accents; each must still have a place of its own.
    const std::vector<Text> alike = {"ABC",
                                     "abc",
                                     "Abc",
                                     "äbc",
                                     "Äbc",
                                     "a\xCC\x88"
                                     "bc",
                                     "\xE4"
                                     "bc"};
    for (const Text& left : alike)
    {
        EXPECT_FALSE(CollatesBefore(left, left)) << left;
        for (const Text& right : alike)
        {
            if (left != right)
            {
                EXPECT_NE(CollatesBefore(left, right), CollatesBefore(right, left))
                    << left << " / " << right;
            }
        }
    }
    // The plain letter before the accented one, then capitals first.
    EXPECT_TRUE(CollatesBefore("abc", "äbc"));
    EXPECT_TRUE(CollatesBefore("Abc", "abc"));
    EXPECT_TRUE(CollatesBefore("Masse", "Maße"));
}

TEST(CollatesBeforeTest, InvalidUtf8IsReadAsWindows1252)
{
    const std::vector<Text> broken = {
        "\xFF",         "\xC3",     "\xE2\x82", "\x80\x80", "\xF4\x90\x80\x80",
        "\xED\xA0\x80", "\xC0\xAF", "a\xC3"};
    for (const Text& text : broken)
    {
        EXPECT_FALSE(CollatesBefore(text, text));
        EXPECT_TRUE(CollatesBefore(text, "zzzzz") != CollatesBefore("zzzzz", text));
    }
    // The Latin-1 byte of "Ö" sorts beside "O", like the UTF-8 "Ö".
    EXPECT_TRUE(CollatesBefore("Ofen", "\xD6l"));
    EXPECT_TRUE(CollatesBefore("\xD6l", "Pause"));
}

TEST(LineStoreTest, AddSortedOrdersMenuEntries)
{
    LineStore store;
    for (const char* name : {"Zugfahrt", "bremse", "Übergabe", "Abfahrt", "ärger", "Unfall", "abc",
                             "ABC", "Straße", "Strasse", "Ofen", "Öl"})
        store.AddSorted(name);
    const std::vector<Text> expected = {"ABC",    "abc",      "Abfahrt", "ärger",
                                        "bremse", "Ofen",     "Öl",      "Strasse",
                                        "Straße", "Übergabe", "Unfall",  "Zugfahrt"};
    EXPECT_EQ(store.Entries(), expected);
    EXPECT_EQ(store.Count(), 12);
    EXPECT_EQ(store.GetText(3), "ärger");
}

TEST(LineStoreTest, MixingAppendAndAddSortedActsLikeASortedListBox)
{
    // Each sorted entry goes before the first entry already in the store that sorts after
    // it; appended entries go to the end, after sorted ones added earlier.
    LineStore store;
    store.Append("m");
    store.Append("c");
    store.AddSorted("x");
    store.AddSorted("a");
    store.AddSorted("d");
    store.Append("b");
    store.AddSorted("n");
    EXPECT_EQ(store.Entries(), (std::vector<Text>{"a", "d", "m", "c", "n", "x", "b"}));

    LineStore oneByOne;
    for (const char* name : {"q", "f", "k"})
    {
        oneByOne.AddSorted(name);
        oneByOne.GetText(0);
    }
    oneByOne.Append("a");
    oneByOne.AddSorted("g");
    EXPECT_EQ(oneByOne.Entries(), (std::vector<Text>{"f", "g", "k", "q", "a"}));
}

TEST(LineStoreTest, ManySortedEntriesMatchAFullSort)
{
    std::vector<Text> names;
    for (int i = 0; i < 500; ++i)
        names.push_back((i % 3 == 0   ? "Ü"
                         : i % 3 == 1 ? "u"
                                      : "V") +
                        std::to_string(i * 7919 % 500));
    LineStore store;
    for (const Text& name : names)
        store.AddSorted(name);
    std::sort(names.begin(), names.end(), CollatesBefore);
    EXPECT_EQ(store.Entries(), names);
}

} // namespace
