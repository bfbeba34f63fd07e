// Line kinds, label names, and how names in lists find their files.
#include "TestSupport.h"
#include "platform/NamedFile.h"
#include "runner/LabelIndex.h"
#include "runner/ListLine.h"

#include <gtest/gtest.h>

namespace
{
TEST(ListLine, KindsInTheOrderOfTheRules)
{
    const std::pair<const char*, LineKind> cases[] = {
        {"", LineKind::Blank},
        {"# Kommentar;", LineKind::Blank},
        {"#", LineKind::Blank},
        {"\u00A7texte/teil2.txt", LineKind::TextFile},
        {"$Bremsprobe?", LineKind::Heading},
        {"$", LineKind::Heading},
        {"!Vorbereitung;", LineKind::SubHeading},
        {":120 Bremse", LineKind::StopwatchStart},
        {"::", LineKind::StopwatchStart},
        {":", LineKind::StopwatchCheck},
        {"*bild.png", LineKind::Picture},
        {"@ja1", LineKind::Jump},
        {"@", LineKind::EndOfList},
        {"@ ", LineKind::Jump}, // a jump to the label with no name
        {"%marke;", LineKind::Label},
        {"Bremse angelegt;", LineKind::StepEnd},
        {";", LineKind::StepEnd},
        {"Druck in Ordnung?", LineKind::Question},
        {"?", LineKind::Question},
        {"Frage?,", LineKind::TextWithComma},
        {",", LineKind::TextWithComma},
        {"Hauptschalter aus", LineKind::Text},
        {"  $Überschrift", LineKind::Text}, // a marker counts only as the very first character
        {"\t;x", LineKind::Text},
        {"Ende; ", LineKind::Text},  // not trimmed here: the caller trims later lines
        {"\xA7raw", LineKind::Text}, // a lone byte 0xA7 is no section sign
    };
    for (const auto& [line, kind] : cases)
        EXPECT_EQ(ClassifyLine(line).kind, kind) << '"' << line << '"';
}

TEST(ListLine, LabelNamesAndWalkBackLines)
{
    EXPECT_EQ(LabelNameOf("%ja1"), "ja1");
    EXPECT_EQ(LabelNameOf("%  zwei Worte  "), "zwei Worte");
    EXPECT_EQ(LabelNameOf("%\tja"), "\tja");
    EXPECT_EQ(LabelNameOf("%"), "");
    EXPECT_FALSE(LabelNameOf(" %ja1"));
    EXPECT_FALSE(LabelNameOf("@ja1"));

    EXPECT_TRUE(IsStepEndLine("A;"));
    EXPECT_TRUE(IsStepEndLine("  $Titel;  "));
    EXPECT_TRUE(IsStepEndLine("%marke;"));
    EXPECT_FALSE(IsStepEndLine("A;\t"));
    EXPECT_FALSE(IsStepEndLine("   "));
    EXPECT_TRUE(IsSubHeadingLine("!Abschnitt"));
    EXPECT_FALSE(IsSubHeadingLine(" !Abschnitt"));
}

TEST(LabelIndex, FirstLabelWinsAndTheIndexFollowsTheStore)
{
    LineStore store;
    store.AppendLines("%a\r\nx\r\n%b\r\n% a \r\n %c\r\n");
    CLabelIndex labels;
    EXPECT_EQ(labels.FindLabelLine(store, "a"), 0);
    EXPECT_EQ(labels.FindLabelLine(store, "b"), 2);
    EXPECT_FALSE(labels.FindLabelLine(store, "c"));
    EXPECT_FALSE(labels.FindLabelLine(store, "A"));
    store.Clear();
    store.AppendLines("x\r\n%c\r\n");
    EXPECT_FALSE(labels.FindLabelLine(store, "a"));
    EXPECT_EQ(labels.FindLabelLine(store, "c"), 1);
}

TEST(NamedFile, FoundByExactNameThenByCaseInsideTheProgramFolderOnly)
{
    CTemporaryFolder root;
    root.Write("Bremsen/bild.png", "x");
    root.Write("Bremsen/Texte/Teil2.TXT", "x");
    root.Write("Türen/ÄNDERUNG.txt", "x");
    root.Write("geheim.txt", "x");
    root.Write("Bremsen/Plan.png", "x");
    root.Write("Bremsen/PLAN.png", "x");
    const Text app = root.Folder();
    const Text list = app + "Bremsen/";
    struct Case
    {
        const char* name;
        const char* shown;                // after the list's folder
        std::optional<std::string> found; // after the program folder
    };
    const Case cases[] = {
        {"bild.png", "bild.png", "Bremsen/bild.png"},
        {"BILD.PNG", "BILD.PNG", "Bremsen/bild.png"},
        {"texte\\teil2.txt", "texte/teil2.txt", "Bremsen/Texte/Teil2.TXT"},
        {"..\\Türen\\änderung.txt", "../Türen/änderung.txt", "Türen/ÄNDERUNG.txt"},
        {"..\\geheim.txt", "../geheim.txt", "geheim.txt"},
        {"fehlt.png", "fehlt.png", std::nullopt},
        {"plan.png", "plan.png", "Bremsen/PLAN.png"},
        {"texte\\TEIL2.txt", "texte/TEIL2.txt", "Bremsen/Texte/Teil2.TXT"},
        {"..\\..\\etc\\passwd", "../../etc/passwd", std::nullopt},
        {"../../../../../../etc/hostname", "../../../../../../etc/hostname", std::nullopt},
    };
    // A kept index of the folders read must find what a look-up that reads them afresh finds.
    CFolderNameIndex kept;
    for (const auto& c : cases)
    {
        const NamedFile named = FindNamedFile(app, list, c.name);
        EXPECT_EQ(named.shownPath, list + c.shown) << c.name;
        if (c.found)
            EXPECT_EQ(named.foundPath, app + *c.found) << c.name;
        else
            EXPECT_FALSE(named.foundPath) << c.name << " found " << named.foundPath.value_or("");
        const NamedFile withKept = FindNamedFile(app, list, c.name, &kept);
        EXPECT_EQ(withKept.foundPath, named.foundPath) << c.name;
        EXPECT_EQ(withKept.foundByOtherCase, named.foundByOtherCase) << c.name;
        EXPECT_EQ(withKept.outsideProgramFolder, named.outsideProgramFolder) << c.name;
    }
}
} // namespace
