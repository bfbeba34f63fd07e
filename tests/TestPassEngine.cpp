// The pass engine on its own: what ends a pass, where, with what text, and which effects reach
// the sink in which order, without a dialog.
#include "runner/PassEngine.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace
{
using Lines = std::vector<std::string>;

// Writes each effect down as a line; a picture is ready unless its name starts with "kaputt",
// the stopwatch runs once started, and text files come from `files`.
class CRecordingSink : public IPassSink, public ITextFileLoader
{
public:
    CRecordingSink(LineStore& store, std::map<std::string, Lines> files)
        : m_store(store), m_files(std::move(files))
    {
    }
    void EnterLine(std::int32_t index) override { entered.push_back(index); }
    void SetHeading(const Text& heading) override { effects.push_back("heading " + heading); }
    void SetSubHeading(const Text& subHeading) override
    {
        effects.push_back("sub-heading " + subHeading);
    }
    void StartStopwatch(const Text& start) override
    {
        effects.push_back("stopwatch " + start);
        m_running = true;
    }
    std::optional<Text> CheckStopwatch() override
    {
        effects.push_back("check");
        return m_running ? std::optional<Text>("Achtung") : std::nullopt;
    }
    bool PreparePicture(const Text& name) override
    {
        effects.push_back("picture " + name);
        return !name.empty() && !name.starts_with("kaputt");
    }
    std::optional<FileIdentity> OpenTextFile(const Text& name) override
    {
        effects.push_back("open " + name);
        const auto found = m_files.find(name);
        if (found == m_files.end())
            return std::nullopt;
        m_opened = found;
        return FileIdentity{static_cast<std::uint64_t>(std::distance(m_files.begin(), found)), 0};
    }
    void LoadOpenedTextFile() override
    {
        effects.push_back("load " + m_opened->first);
        m_store.Clear();
        for (const auto& line : m_opened->second)
            m_store.Append(line);
    }

    std::vector<std::string> effects;
    std::vector<std::int32_t> entered; // the lines the pass carried out, in order

private:
    LineStore& m_store;
    std::map<std::string, Lines> m_files;
    std::map<std::string, Lines>::const_iterator m_opened;
    bool m_running = false;
};

struct PassCase
{
    const char* name;
    Lines lines;
    std::int32_t start;
    PassEnd end;
    std::int32_t line; // where it ended
    Text text;
    std::vector<std::string> effects;
    std::map<std::string, Lines> files;
};

void PrintTo(const PassCase& pass, std::ostream* output)
{
    *output << pass.name;
}

// clang-format off
const PassCase PassCases[] = {
    {"StepEndAfterEffectsInOrder", {"$Kopf", "!Unter", ":90 Bremse", "Eins,", "Zwei;"}, 0,
     PassEnd::StepEnd, 4, "Eins\nZwei", {"heading Kopf", "sub-heading Unter", "stopwatch 90 Bremse"}, {}},
    {"FirstLineAsStoredLaterTrimmed", {"  $Text", "  $Kopf  ", " Ende; "}, 0,
     PassEnd::StepEnd, 2, "  $Text\nEnde", {"heading Kopf"}, {}},
    {"BlankCommentAndLabelDoNothing", {"", "# Notiz;", "%marke", "Schritt;"}, 0,
     PassEnd::StepEnd, 3, "Schritt", {}, {}},
    {"Question", {"Text", "Frage?", "nein / ja", "%ja", "%nein"}, 0,
     PassEnd::Question, 1, "Text\nFrage?", {}, {}},
    {"CheckWithoutStopwatchGoesOn", {":", "Schritt;"}, 0,
     PassEnd::StepEnd, 1, "Schritt", {"check"}, {}},
    {"WarningReplacesTheText", {":30", "Text", ":", "Schritt;"}, 0,
     PassEnd::Warning, 2, "Achtung", {"stopwatch 30", "check"}, {}},
    {"PictureStops", {"Text", "* bild.png ", "Schritt;"}, 0,
     PassEnd::Picture, 1, "Text\n", {"picture bild.png"}, {}},
    {"PictureThatCannotBeShownGoesOn", {"*kaputt.png", "*", "Schritt;"}, 0,
     PassEnd::StepEnd, 2, "Schritt", {"picture kaputt.png", "picture "}, {}},
    {"JumpGoesOnAfterTheLabel", {"@weiter", "Nie;", "%weiter", "Schritt;"}, 0,
     PassEnd::StepEnd, 3, "Schritt", {}, {}},
    {"EndOfListLine", {"Text", "@", "Nie;"}, 0, PassEnd::ListEnd, 3, "Text\n", {}, {}},
    {"PastTheLastLine", {"Schritt;", "Rest"}, 1, PassEnd::ListEnd, 2, "Rest\n", {}, {}},
    {"JumpToMissingLabel", {"Text", "@fehlt"}, 0, PassEnd::Fault, 1, "Text\n", {}, {}},
    {"JumpLoop", {"%oben", "$Kopf", "@oben"}, 0, PassEnd::Fault, 2, "",
     {"heading Kopf", "heading Kopf"}, {}},
    {"TextFileReplacesTheLines", {"$Liste", "\u00A7teil.txt", "Nie;"}, 0,
     PassEnd::StepEnd, 1, "Aus der Datei",
     {"heading Liste", "open teil.txt", "load teil.txt", "heading Teil"},
     {{"teil.txt", {"  $Teil", "Aus der Datei;"}}}},
    {"MissingTextFileEndsTheList", {"Text", "\u00A7fehlt.txt", "Nie;"}, 0,
     PassEnd::ListEnd, 3, "Text\n", {"open fehlt.txt"}, {}},
    {"TextFileLoadedTwice", {"\u00A7a.txt"}, 0, PassEnd::Fault, 1, "Text\n",
     {"open a.txt", "load a.txt", "open a.txt"}, {{"a.txt", {"Text", "\u00A7a.txt"}}}},
    {"LabelsOfANewFileCountAfresh", {"@x", "%x", "\u00A7a.txt"}, 0, PassEnd::StepEnd, 2, "Ende",
     {"open a.txt", "load a.txt"}, {{"a.txt", {"@x", "%x", "Ende;"}}}},
};
// clang-format on

class PassEngine : public testing::TestWithParam<PassCase>
{
};

TEST_P(PassEngine, EndsWhereTheListSays)
{
    const PassCase& pass = GetParam();
    LineStore store;
    for (const auto& line : pass.lines)
        store.Append(line);
    CLabelIndex labels;
    CRecordingSink sink(store, pass.files);
    const PassResult result = RunPass(store, pass.start, labels, sink, sink);
    EXPECT_EQ(result.end, pass.end);
    EXPECT_EQ(result.line, pass.line);
    EXPECT_EQ(result.text, pass.text);
    EXPECT_EQ(sink.effects, pass.effects);
    EXPECT_EQ(result.fault != nullptr, pass.end == PassEnd::Fault);
}

INSTANTIATE_TEST_SUITE_P(Passes, PassEngine, testing::ValuesIn(PassCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The lines a pass carries out, as the sink hears of them: a jump goes on after its label, and
// after a text file the lines are the file's, from its first.
TEST(PassEngine, SinkHearsEachLineBeforeItsEffects)
{
    struct Case
    {
        const char* name;
        Lines lines;
        std::vector<std::int32_t> entered;
        std::map<std::string, Lines> files;
    };
    const Case cases[] = {
        {"Jump", {"@x", "Nie;", "%x", "*kaputt", "Schritt;"}, {0, 3, 4}, {}},
        {"TextFile",
         {"Text", "\u00A7teil.txt", "Nie;"},
         {0, 1, 0, 1},
         {{"teil.txt", {"$T", "A;"}}}},
        {"ListEnd", {"Text", "@", "Nie;"}, {0, 1}, {}},
    };
    for (const Case& test : cases)
    {
        SCOPED_TRACE(test.name);
        LineStore store;
        for (const auto& line : test.lines)
            store.Append(line);
        CLabelIndex labels;
        CRecordingSink sink(store, test.files);
        RunPass(store, 0, labels, sink, sink);
        EXPECT_EQ(sink.entered, test.entered);
    }
}

TEST(PassEngine, AnswerTargets)
{
    using Problem = AnswerTargets::Problem;
    struct Case
    {
        Lines lines; // the question is line 0
        Problem problem;
        std::optional<std::int32_t> no;
        std::optional<std::int32_t> yes;
    };
    const Case cases[] = {
        {{"Frage?", " nein / ja / mehr ", "%ja / mehr", "%nein"}, Problem::None, 3, 2},
        {{"Frage?"}, Problem::InLastLine, std::nullopt, std::nullopt},
        {{"Frage?", "nein ja", "%nein ja"}, Problem::WithoutSlash, std::nullopt, std::nullopt},
        {{"Frage?", "nein/ja", "%ja"}, Problem::NoLabelMissing, std::nullopt, std::nullopt},
        {{"Frage?", "nein/ja", "%nein"}, Problem::YesLabelMissing, 2, std::nullopt},
        {{"Frage?", "/", "%"}, Problem::None, 2, 2},
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE(test.lines.size() > 1 ? test.lines[1] : "-");
        LineStore store;
        for (const auto& line : test.lines)
            store.Append(line);
        CLabelIndex labels;
        const AnswerTargets targets = ResolveAnswerTargets(store, labels, 0);
        EXPECT_EQ(targets.problem, test.problem);
        EXPECT_EQ(targets.noLabel, test.no);
        EXPECT_EQ(targets.yesLabel, test.yes);
    }
}
} // namespace
