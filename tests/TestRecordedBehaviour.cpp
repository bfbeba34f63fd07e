// What the program does, recorded: `play` over every sample list, drivers' and authors', and over
// lists made at random, and `check --json` over both sample folders, each compared byte for byte
// with its recording in tests/golden. Any change of behaviour shows here first.
//
// After a change that is meant, record anew with TAVRINO_RECORD_GOLDEN=1 and read the diff.
#include "TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace
{
const fs::path Golden = TAVRINO_GOLDEN;
const std::string Examples = fs::path(TAVRINO_EXAMPLES).lexically_normal().string() + "/";
const std::string Authoring = fs::path(TAVRINO_AUTHORING).lexically_normal().string() + "/";

// The same presses for every list: forward and back, both answers of a question, pictures,
// ticks of a stopwatch and turns of the device.
const std::vector<std::string> Walk = {
    "right", "right",   "centre", "right",        "picture", "tick:2", "right",
    "right", "centre",  "left",   "size:320x240", "right",   "right",  "picture",
    "right", "tick:70", "right",  "size:240x320", "centre",  "right",  "right",
    "right", "left",    "right",  "right",        "right",
};

bool Recording()
{
    const char* value = std::getenv("TAVRINO_RECORD_GOLDEN");
    return value != nullptr && *value != '\0';
}

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Compares `output` with the recording at `relative`, or records it.
void ExpectRecorded(const fs::path& relative, const std::string& output)
{
    const fs::path file = Golden / relative;
    if (Recording())
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << output;
        return;
    }
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << "no recording " << file << "; record with TAVRINO_RECORD_GOLDEN=1";
    std::stringstream recorded;
    recorded << in.rdbuf();
    if (recorded.str() == output)
        return;
    // Name the first line that differs rather than print megabytes.
    const auto expected = SplitLines(recorded.str());
    const auto actual = SplitLines(output);
    std::size_t line = 0;
    while (line < expected.size() && line < actual.size() && expected[line] == actual[line])
        ++line;
    ADD_FAILURE() << relative << " differs at line " << line + 1
                  << "\n  recorded: " << (line < expected.size() ? expected[line] : "(none)")
                  << "\n  now:      " << (line < actual.size() ? actual[line] : "(none)");
}

// The entries of the line store in the last `play` line that has one.
std::vector<std::string> LastStore(const std::string& output)
{
    const std::string key = "\"store\": [";
    const std::size_t at = output.rfind(key);
    std::vector<std::string> entries;
    if (at == std::string::npos)
        return entries;
    std::size_t i = at + key.size();
    while (i < output.size() && output[i] == '"')
    {
        std::string entry;
        for (++i; i < output.size() && output[i] != '"'; ++i)
        {
            if (output[i] == '\\' && i + 1 < output.size())
                ++i;
            entry += output[i];
        }
        entries.push_back(entry);
        i += 1;
        while (i < output.size() && (output[i] == ',' || output[i] == ' '))
            ++i;
    }
    return entries;
}

// The presses that lead from a menu whose store is `entries` to the entry `name`.
std::vector<std::string> PressesTo(const std::vector<std::string>& entries, const std::string& name)
{
    const auto found = std::find(entries.begin(), entries.end(), name);
    if (found == entries.end())
        return {};
    const auto index = static_cast<std::size_t>(found - entries.begin());
    std::vector<std::string> presses(index / 6, "centre"); // "Mehr"
    presses.push_back("menu:" + std::to_string(index % 6));
    return presses;
}

std::string Play(const std::string& root, const std::vector<std::string>& events)
{
    std::vector<std::string> arguments = {"play", "--root", root};
    arguments.insert(arguments.end(), events.begin(), events.end());
    const auto run = RunProgram(arguments);
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    return run.output;
}

std::vector<fs::path> SampleLists(const std::string& root)
{
    std::vector<fs::path> lists;
    for (const auto& topic : fs::directory_iterator(root))
    {
        if (!topic.is_directory() || topic.path().filename().string().starts_with("."))
            continue;
        for (const auto& list : fs::directory_iterator(topic.path()))
        {
            if (list.path().extension() == ".lst")
                lists.push_back(fs::relative(list.path(), root));
        }
    }
    std::sort(lists.begin(), lists.end());
    return lists;
}

// Plays the walk over every list of the program folder `root`, written as `placeholder` in
// the recordings. Both sample folders record into play/, by topic: their topics differ.
void PlayOverEveryList(const std::string& root, const std::string& placeholder)
{
    for (const fs::path& list : SampleLists(root))
    {
        // Found by name: the menus are walked by what their stores hold.
        std::vector<std::string> events = {"centre"};
        const auto topic = PressesTo(LastStore(Play(root, events)), list.parent_path().string());
        ASSERT_FALSE(topic.empty()) << list;
        events.insert(events.end(), topic.begin(), topic.end());
        const auto entry = PressesTo(LastStore(Play(root, events)), list.filename().string());
        ASSERT_FALSE(entry.empty()) << list;
        events.insert(events.end(), entry.begin(), entry.end());
        const std::size_t opened = events.size();
        events.insert(events.end(), Walk.begin(), Walk.end());

        // From the line where the list opened: other topics do not change the recording.
        const auto lines = SplitLines(Play(root, events));
        ASSERT_GT(lines.size(), opened) << list;
        std::string output;
        for (std::size_t i = opened; i < lines.size(); ++i)
            output += Replace(lines[i], root, placeholder) + "\n";
        ExpectRecorded(fs::path("play") / list.parent_path() / (list.stem().string() + ".jsonl"),
                       output);
    }
}

TEST(RecordedBehaviour, PlayOverEverySampleList)
{
    ASSERT_GE(SampleLists(Examples).size(), 19u);
    PlayOverEveryList(Examples, "<examples>/");
}

TEST(RecordedBehaviour, PlayOverEveryAuthoringList)
{
    ASSERT_GE(SampleLists(Authoring).size(), 11u);
    PlayOverEveryList(Authoring, "<authoring>/");
}

TEST(RecordedBehaviour, PlayOverListsMadeAtRandom)
{
    // Lines of every kind, good and bad, glued by a generator whose seed never changes.
    const char* const pieces[] = {
        "Schritt;", "Frage?", "n/j",   "%n",        "%j",         "@n",        "@j",
        "@",        "$Kopf",  "!Teil", "*bild.png", "*fehlt.png", "*",         "\xA7teil.txt",
        "\xA7",     ":5 Uhr", ":0",    ":",         "Text",       "Text,",     "  $x",
        "/",        "%",      "#;",    "",          "n/fehlt",    "\xE4rger;", "..\\x;",
    };
    CTemporaryFolder root;
    fs::copy_file(fs::path(Examples) / "Bremsen" / "manometer.png",
                  root.MakeFolder("Zufall") / "bild.png");
    root.Write("Zufall/teil.txt", "Aus der Datei;\r\nZweite Zeile?\r\nn/j\r\n");
    std::mt19937 random(20261207);
    constexpr int ListCount = 24;
    for (int i = 0; i < ListCount; ++i)
    {
        std::string text;
        const int lines = 4 + static_cast<int>(random() % 24);
        for (int line = 0; line < lines; ++line)
            text += std::string(pieces[random() % std::size(pieces)]) + "\r\n";
        root.Write("Zufall/" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".lst", text);
    }
    for (int i = 0; i < ListCount; ++i)
    {
        std::vector<std::string> events = {"centre", "menu:0"};
        events.insert(events.end(), static_cast<std::size_t>(i / 6), "centre");
        events.push_back("menu:" + std::to_string(i % 6));
        events.insert(events.end(), Walk.begin(), Walk.end());
        const std::string output = Replace(Play(root.Folder(), events), root.Folder(), "<root>/");
        ExpectRecorded(fs::path("random") / ((i < 10 ? "0" : "") + std::to_string(i) + ".jsonl"),
                       output);
    }
}

// Topics and lists behind links: one of each leads out of the program folder, one stays inside.
TEST(RecordedBehaviour, CheckOverLinksThatLeadOut)
{
    CTemporaryFolder root;
    root.Write("P/Bremsen/Probe.lst", "Schritt;\r\n");
    root.Write("aussen/Fremd/Fremd.lst", "Schritt;\r\n@fehlt\r\n");
    root.Write("aussen/fremd.lst", "Schritt;\r\n@fehlt\r\n");
    fs::create_directory_symlink(root.Path() / "aussen/Fremd", root.Path() / "P/Raus");
    fs::create_directory_symlink("Bremsen", root.Path() / "P/Innen");
    fs::create_symlink(root.Path() / "aussen/fremd.lst", root.Path() / "P/Bremsen/Fremd.lst");
    fs::create_symlink("Probe.lst", root.Path() / "P/Bremsen/Kopie.lst");
    for (const bool json : {false, true})
    {
        const auto run = json ? RunProgram({"check", "--json", root.Folder() + "P"})
                              : RunProgram({"check", root.Folder() + "P"});
        EXPECT_EQ(run.exitStatus, 0) << run.errors; // warnings only
        ExpectRecorded(json ? "check-links.jsonl" : "check-links.txt",
                       Replace(run.output, root.Folder(), "<root>/"));
    }
}

TEST(RecordedBehaviour, CheckOverTheSamples)
{
    const auto run = RunProgram({"check", "--json", Examples});
    EXPECT_EQ(run.exitStatus, 0) << run.errors; // the drivers' lists are all sound
    ExpectRecorded("check-examples.jsonl", Replace(run.output, Examples, "<examples>/"));
}

TEST(RecordedBehaviour, CheckOverTheAuthoringSamples)
{
    const auto run = RunProgram({"check", "--json", Authoring});
    EXPECT_EQ(run.exitStatus, 1) << run.errors; // the fault lists hold errors
    ExpectRecorded("check-authoring.jsonl", Replace(run.output, Authoring, "<authoring>/"));
}
} // namespace
