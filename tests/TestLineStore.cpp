#include "platform/Collation.h"
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

TEST(LineStoreTest, EntriesKeepTheirTextsWhateverComesAfter)
{
    // Empty entries end where the one before ends; an entry added from the store's own text
    // is copied before the text grows and moves.
    LineStore store;
    store.Append("");
    store.Append("erste");
    for (int i = 0; i < 20; ++i)
        store.Append(store.GetText(store.Count() - 1));
    store.Append("");
    store.AddSorted("");
    store.AddSorted("b");
    store.AppendLines("\r\n\nc");
    // The sorted ones go before the first entry that sorts after them.
    std::vector<Text> expected = {"", "", "b"};
    for (int i = 0; i < 21; ++i)
        expected.push_back("erste");
    expected.insert(expected.end(), {"", "", "", "c"});
    EXPECT_EQ(store.Entries(), expected);
    EXPECT_EQ(store.GetText(2), "b");
    EXPECT_EQ(store.GetText(23), "erste");
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
