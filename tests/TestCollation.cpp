// The order of the menus.
#include "platform/Collation.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{

TEST(Collation, OrdersPairs)
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

TEST(Collation, TieBreakMakesAStrictTotalOrder)
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

TEST(Collation, InvalidUtf8IsReadAsWindows1252)
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

} // namespace
