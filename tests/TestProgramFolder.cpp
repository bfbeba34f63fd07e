// Where the program takes its topics from without --root: beside itself, or from the data folder
// of an installed package.
#include "TestSupport.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

TEST(ProgramFolder, TheFirstFolderWithTopicsWins)
{
    struct Case
    {
        const char* name;
        // Files to write; a name ending in "/" is an empty folder, one ending in "@" a link to
        // the folder that holds it.
        std::vector<std::string> besideEntries;
        std::vector<std::vector<std::string>> dataEntries;
        int expected; // -1: beside the program, else the data folder of that index
    };
    const std::vector<Case> cases{
        {"topics beside the program", {"Bremsen/Probe.lst"}, {{"Funk/Probe.lst"}}, -1},
        {"beside holds files only", {"tavrino", "liste.lst"}, {{"Funk/Probe.lst"}}, 0},
        {"a hidden folder is no topic", {".git/Probe.lst"}, {{"Funk/Probe.lst"}}, 0},
        {"a topic without lists", {"Leer/"}, {{"Funk/Probe.lst"}}, 0},
        {"a link back to the folder, as /usr/bin/X11", {"tavrino", "X11@"}, {{"Funk/a.lst"}}, 0},
        {"the first data folder is missing", {}, {{}, {"Funk/Probe.lst"}}, 1},
        {"a data folder with lists but no topic", {}, {{"liste.lst"}, {"Funk/Probe.lst"}}, 1},
        {"no folder holds topics", {"tavrino"}, {{"liste.lst"}, {".verborgen/Probe.lst"}}, -1},
    };
    for (const auto& testCase : cases)
    {
        CTemporaryFolder root;
        const auto make = [&](const fs::path& folder, const std::vector<std::string>& entries)
        {
            root.MakeFolder(folder);
            for (const auto& entry : entries)
            {
                if (entry.ends_with('/'))
                    root.MakeFolder(folder / entry);
                else if (entry.ends_with('@'))
                    fs::create_directory_symlink(".", root.Path() / folder /
                                                          entry.substr(0, entry.size() - 1));
                else
                    root.Write(folder / entry, "Schritt;\n");
            }
        };
        make("bin", testCase.besideEntries);
        std::vector<Text> dataFolders;
        for (std::size_t index = 0; index < testCase.dataEntries.size(); ++index)
        {
            const std::string name = "data" + std::to_string(index);
            // The first data folder stays missing when it has no entries, as on a system
            // without the package.
            if (!testCase.dataEntries[index].empty())
                make(name, testCase.dataEntries[index]);
            // Written as the program writes it: relative to the folder of its file.
            dataFolders.push_back(root.Folder() + "bin/../" + name);
        }
        const Text beside = root.Folder() + "bin/";
        const Text expected = testCase.expected < 0 ? beside
                                                    : root.Folder() + "data" +
                                                          std::to_string(testCase.expected) + "/";
        EXPECT_EQ(ChooseProgramFolder(beside, dataFolders), expected) << testCase.name;
    }
}

TEST(ProgramFolder, ATopicLinkThatLeadsOutDoesNotCount)
{
    CTemporaryFolder root;
    root.MakeFolder("anderswo/Fremd");
    root.Write("anderswo/Fremd/Probe.lst", "Schritt;\n");
    root.MakeFolder("daten");
    fs::create_symlink(root.Path() / "anderswo/Fremd", root.Path() / "daten/Fremd");
    EXPECT_FALSE(HoldsTopics(root.Folder() + "daten/"));
    root.Write("daten/Eigen/Probe.lst", "Schritt;\n");
    EXPECT_TRUE(HoldsTopics(root.Folder() + "daten/"));
}

// The program laid out as a package installs it, in a prefix of its own: it finds the samples
// under share/ of that prefix, and --root still wins.
TEST(ProgramFolder, AnInstalledProgramFindsThePackagedSamples)
{
    CTemporaryFolder prefix;
    prefix.MakeFolder("bin");
    const auto program = prefix.Path() / "bin/tavrino";
    fs::copy_file(TAVRINO_PROGRAM, program);
    const fs::path samples = prefix.Path() / "bin" / TAVRINO_DATA_FROM_PROGRAM;
    prefix.Write(fs::relative(samples / "Bremsen/Probe.lst", prefix.Path()), "Schritt;\n");
    const Text samplesFolder = fs::weakly_canonical(samples).string() + "/";

    const auto packaged = RunProgramFile(program, {"play"});
    ASSERT_EQ(packaged.exitStatus, 0) << packaged.errors;
    EXPECT_NE(packaged.output.find("\"g_appFolder\": \"" + samplesFolder + "\""), std::string::npos)
        << packaged.output.substr(0, 2000);

    prefix.Write("eigen/Funk/Probe.lst", "Schritt;\n");
    const auto chosen = RunProgramFile(program, {"play", "--root", prefix.Folder() + "eigen"});
    ASSERT_EQ(chosen.exitStatus, 0) << chosen.errors;
    EXPECT_NE(chosen.output.find("\"g_appFolder\": \"" + prefix.Folder() + "eigen/\""),
              std::string::npos);

    // Topics beside the program come first, as in a portable folder.
    prefix.Write("bin/Signale/Probe.lst", "Schritt;\n");
    const auto portable = RunProgramFile(program, {"play"});
    ASSERT_EQ(portable.exitStatus, 0) << portable.errors;
    EXPECT_NE(portable.output.find("\"g_appFolder\": \"" + prefix.Folder() + "bin/\""),
              std::string::npos);
}
} // namespace
