// `tavrino check --format sarif`: a valid SARIF 2.1.0 log whose URIs lead back to the files,
// whatever their names hold, and the other forms unchanged beside it.
#include "TestSupport.h"
#include "frontends/SarifLog.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace
{
namespace fs = std::filesystem;

TEST(SarifUri, EncodesEverythingButPlainCharacters)
{
    struct Case
    {
        const char* name;
        std::string path;
        std::string uri;
    };
    const Case cases[] = {
        {"Plain", "T/a-b_c.~1.lst", "T/a-b_c.~1.lst"},
        {"SpaceAndUmlaut", "Übung Fehler/ä.lst", "%C3%9Cbung%20Fehler/%C3%A4.lst"},
        {"Absolute", "/tmp/x y.lst", "file:///tmp/x%20y.lst"},
        // A colon first would read as a scheme; "%", "#" and "?" would end or change the path.
        {"Reserved", "a:b/100%#1?.lst", "a%3Ab/100%25%231%3F.lst"},
        {"NoUtf8", "T/\xFF\x01.lst", "T/%FF%01.lst"},
        {"Parent", "../T/a.lst", "../T/a.lst"},
    };
    for (const Case& test : cases)
        EXPECT_EQ(UriReference(test.path), test.uri) << test.name;
}

class SarifLog : public testing::Test
{
protected:
    void SetUp() override
    {
        // Names with spaces, umlauts, a byte that is no UTF-8, and texts that need escaping.
        m_folder.Write("P/Ü T/a b.lst", "Schritt;\n@a\"b\\c\x01\n");
        m_folder.Write("P/Ü T/\xFF.lst", "Schritt;\n*fehlt.png\nWeiter;\n@\nNie;\n");
        m_folder.Write("P/Ü T/gut.lst", "Schritt;\n");
    }
    std::string Program() const { return m_folder.Folder() + "P"; }
    CTemporaryFolder m_folder;
};

TEST_F(SarifLog, ValidAgainstTheSchemaAndLeadsBackToTheFiles)
{
    // Once as the user names the folder from elsewhere (a relative path), once absolute.
    const std::string relative = fs::relative(Program(), fs::current_path()).string();
    for (const std::string& path : {relative, Program()})
    {
        SCOPED_TRACE(path);
        const auto run = RunProgram({"check", "--format", "sarif", path});
        EXPECT_EQ(run.exitStatus, 1) << run.errors;
        const fs::path log = m_folder.Write("log.sarif", run.output);
        const std::string data = std::string(TAVRINO_TESTS) + "/data/";
        const std::string command = "python3 '" + data + "validate-sarif.py' '" + data +
                                    "sarif-2.1.0-subset.schema.json' '" + log.string() + "' '" +
                                    fs::current_path().string() + "' > '" + log.string() +
                                    ".out' 2>&1";
        const int status = std::system(command.c_str());
        std::ifstream output(log.string() + ".out");
        const std::string said((std::istreambuf_iterator<char>(output)), {});
        EXPECT_EQ(status, 0) << said << run.output;
        EXPECT_NE(said.find("3 results valid"), std::string::npos) << said;
    }
}

TEST_F(SarifLog, OtherFormatsAndExitStatusesAsBefore)
{
    const auto gcc = RunProgram({"check", Program()});
    const auto named = RunProgram({"check", "--format=gcc", Program()});
    EXPECT_EQ(named.output, gcc.output);
    EXPECT_EQ(named.exitStatus, 1);
    const auto json = RunProgram({"check", "--json", Program()});
    const auto jsonNamed = RunProgram({"check", "--format", "json", Program()});
    EXPECT_EQ(jsonNamed.output, json.output);
    EXPECT_EQ(jsonNamed.exitStatus, 1);
    EXPECT_NE(json.output.find("\"code\": \"missing-label\""), std::string::npos);

    const auto clean = RunProgram({"check", "--format", "sarif", Program() + "/Ü T/gut.lst"});
    EXPECT_EQ(clean.exitStatus, 0);
    EXPECT_NE(clean.output.find("\"results\": []"), std::string::npos) << clean.output;

    const auto wrong = RunProgram({"check", "--format", "xml", Program()});
    EXPECT_EQ(wrong.exitStatus, 2);
    EXPECT_EQ(wrong.errors, "tavrino: --format needs gcc, json or sarif; see 'tavrino --help'\n");
}
} // namespace
