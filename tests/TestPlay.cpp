// `tavrino play` end to end: the output contract, events from every source, and bad input.
#include "TestSupport.h"
#include "frontends/ScreenJson.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
TEST(JsonString, EscapesAndRepairs)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Tavrino", "\"Tavrino\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"Zeile\nZeile\r\t", "\"Zeile\\nZeile\\r\\t\""},
        {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
        {"Grüße §", "\"Grüße §\""},
        {"\xE4\xA7", "\"ä§\""}, // stray Windows-1252 bytes stay readable
    };
    for (const auto& [text, json] : cases)
        EXPECT_EQ(JsonString(text), json);
}

// The JSON of a text is its displayable form with each character escaped as it needs, however
// the writer reads it: random texts of plain runs, escapes, letters and stray bytes at every
// place of a word.
TEST(JsonString, EqualsTheDisplayableTextEscaped)
{
    const auto escaped = [](std::string_view text)
    {
        std::string json = "\"";
        for (const char c : MakeDisplayable(text))
        {
            const auto byte = static_cast<unsigned char>(c);
            if (c == '"' || c == '\\')
                json += std::string("\\") + c;
            else if (c == '\n')
                json += "\\n";
            else if (c == '\r')
                json += "\\r";
            else if (c == '\t')
                json += "\\t";
            else if (byte < 0x20)
            {
                char code[8];
                std::snprintf(code, sizeof code, "\\u%04x", byte);
                json += code;
            }
            else
                json += c;
        }
        return json + "\"";
    };
    const std::string pieces[] = {"Bremse ", "abcdefghij", "\"", "\\", "\n", "\r", "\t",
                                  std::string(1, '\0'), "\x1f", "\x7f", "\xC3\xBC", "\xE2\x82\xAC",
                                  "\xF0\x9F\x98\x80", "\xFC", "\x80", "\xC3", "\xE2\x82", " ",
                                  // overlong, so not characters
                                  "\xC0\x80", "\xC1\xBF"};
    std::minstd_rand random(11);
    for (int round = 0; round < 2000; ++round)
    {
        std::string text;
        const std::size_t count = random() % 30;
        for (std::size_t piece = 0; piece < count; ++piece)
            text += pieces[random() % std::size(pieces)];
        ASSERT_EQ(JsonString(text), escaped(text)) << testing::PrintToString(text);
    }
}

TEST(Play, InitLineHoldsTheStartScreenInContractOrder)
{
    CTemporaryFolder root;
    const auto run = RunProgram({"play", "--root", root.Path().string()});
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    const auto lines = SplitLines(run.output);
    ASSERT_EQ(lines.size(), 1u);
    const std::string& line = lines[0];

    // The keys in their fixed order.
    std::size_t position = 0;
    for (const char* key :
         {"{\"event\": \"init\"", "\"messages\": []", "\"ended\": null", "\"controls\": {",
          "\"picture\": null", "\"timer\": false", "\"store\": []", "\"state\": {"})
    {
        const auto found = line.find(key, position);
        ASSERT_NE(found, std::string::npos) << key;
        position = found;
    }
    for (const char* control :
         {"\"1002\": {\"text\": \"Tavrino\", \"visible\": true, \"rect\": [6, 0, 128, 8]}",
          "\"1003\": {\"text\": \"Checklisten Schritt für Schritt\", \"visible\": true, \"rect\": "
          "[2, 9, 132, 17]}",
          "\"1009\": {\"text\": \"Start\", \"visible\": true, \"rect\": [53, 102, 31, 32]}",
          "\"1010\": {\"text\": \"\", \"visible\": false, \"rect\": [4, 102, 44, 32]}",
          "\"1011\": {\"text\": \"\", \"visible\": false, \"rect\": [90, 102, 44, 32]}",
          "\"1014\": {\"text\": \"\", \"visible\": false, \"rect\": [2, 3, 8, 15]}",
          "\"1023\": {\"text\": \"\", \"visible\": false, \"rect\": [9, 1, 11, 11]}",
          "\"1000\": {\"text\": \"Button1\", \"visible\": false, \"rect\": [4, 23, 60, 25]}",
          "\"1008\": {\"text\": \"Button7\", \"visible\": false, \"rect\": [72, 77, 62, 23]}",
          "\"1020\": {\"text\": \"Dieses Programm ist nur eine Hilfestellung"})
        EXPECT_NE(line.find(control), std::string::npos) << control;

    const std::string state =
        "\"state\": {\"g_appFolder\": \"" + root.Folder() +
        "\", \"g_started\": false, \"g_viewMode\": 0, \"g_screenState\": 0, "
        "\"g_leftButtonMode\": 0, \"g_backBlocked\": false, \"g_menuFirst\": 0, "
        "\"g_subMenuFirst\": 0, \"g_chosenFolderIndex\": 0, \"g_folderName\": \"\", "
        "\"g_listFolder\": \"\", \"g_pressedButton\": 0, \"g_currentLine\": 0, "
        "\"g_stepCounter\": 0, \"g_yesTarget\": 0, \"g_noTarget\": 0, \"g_headingText\": \"\", "
        "\"g_subHeadingText\": \"\", \"g_bodyText\": \"\", \"g_picturePath\": \"\", "
        "\"g_stopwatchSeconds\": 0, \"g_stopwatchRunning\": 0, \"g_stopwatchName\": \"\"}}";
    EXPECT_TRUE(line.ends_with(state)) << line;
}

TEST(Play, CloseEndsWithOkAndNothingRunsAfter)
{
    CTemporaryFolder root;
    const auto run = RunProgram({"play", "--root", root.Path().string(), "close", "right", "left"});
    EXPECT_EQ(run.exitStatus, 0);
    const auto lines = SplitLines(run.output);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find("{\"event\": \"close\", \"messages\": [], \"ended\": \"ok\""),
              std::string::npos);
}

// With --store changed, a line carries the store only when it differs from the line before;
// everything else on every line is as without the option.
TEST(Play, StoreOnlyWhereItChanged)
{
    CTemporaryFolder root;
    root.Write("Thema/liste.lst", "$Probe\nEins;\nZwei;\nDrei;\n");
    const std::vector<std::string> events = {"centre", "menu:0", "menu:0", "right",
                                             "centre", "left",   "menu:0"};
    std::vector<std::string> arguments = {"play", "--root", root.Path().string()};
    arguments.insert(arguments.end(), events.begin(), events.end());
    const auto every = RunProgram(arguments);
    arguments.insert(arguments.begin() + 1, {"--store", "changed"});
    const auto changed = RunProgram(arguments);
    ASSERT_EQ(every.exitStatus, 0) << every.errors;
    ASSERT_EQ(changed.exitStatus, 0) << changed.errors;

    const auto everyLines = SplitLines(every.output);
    const auto changedLines = SplitLines(changed.output);
    ASSERT_EQ(everyLines.size(), events.size() + 1);
    ASSERT_EQ(changedLines.size(), everyLines.size());
    // init; main menu; sub-menu; the list; "Weiter"; "Zurück"; "Abbruch"; the list again.
    const bool storeExpected[] = {true, true, true, true, false, false, true, true};
    for (std::size_t i = 0; i < everyLines.size(); ++i)
    {
        const auto store = everyLines[i].find(", \"store\": [");
        const auto state = everyLines[i].find("], \"state\": ", store);
        ASSERT_NE(store, std::string::npos);
        ASSERT_NE(state, std::string::npos);
        const std::string withoutStore =
            everyLines[i].substr(0, store) + everyLines[i].substr(state + 1);
        EXPECT_EQ(changedLines[i], storeExpected[i] ? everyLines[i] : withoutStore) << i;
    }
}

TEST(Play, UnknownEventStopsWithStatusTwoAfterTheScreensBefore)
{
    CTemporaryFolder root;
    const auto run = RunProgram({"play", "--root", root.Path().string(), "tick", "jump", "right"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(SplitLines(run.output).size(), 2u); // init and tick
    EXPECT_NE(run.errors.find("unknown event 'jump'"), std::string::npos);
}

TEST(Play, EventsFileSkipsCommentsAndNamesTheBadLine)
{
    CTemporaryFolder root;
    const auto good = root.Write("good.events", "# start\n\ntick\r\n  size:320x240  \n");
    auto run = RunProgram({"play", "--root", root.Path().string(), "--events", good.string()});
    EXPECT_EQ(run.exitStatus, 0) << run.errors;
    const auto lines = SplitLines(run.output);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[1].starts_with("{\"event\": \"tick\","));
    EXPECT_TRUE(lines[2].starts_with("{\"event\": \"size:320x240\","));

    const auto bad = root.Write("bad.events", "tick\n# fine\nsideways\n");
    run = RunProgram({"play", "--root", root.Path().string(), "--events", bad.string()});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find(bad.string() + ":3: unknown event 'sideways'"), std::string::npos)
        << run.errors;

    run = RunProgram(
        {"play", "--root", root.Path().string(), "--events", (root.Path() / "none").string()});
    EXPECT_EQ(run.exitStatus, 2);

    // A line without end is refused after the screens before it, not read into memory.
    const auto endless = root.Write("endless.events", "tick\n" + std::string(5000, 't') + "\n");
    for (const std::string& events : {endless.string(), std::string("/dev/zero")})
    {
        run = RunProgram({"play", "--root", root.Path().string(), "--events", events});
        EXPECT_EQ(run.exitStatus, 2) << events;
        EXPECT_NE(run.errors.find("longer than 4096 bytes"), std::string::npos) << run.errors;
        EXPECT_EQ(SplitLines(run.output).size(), events == "/dev/zero" ? 1u : 2u) << events;
    }
    // The longest line still counts as an event, and fails only as one.
    const auto longest = root.Write("longest.events", std::string(4096, 'x') + "\n");
    run = RunProgram({"play", "--root", root.Path().string(), "--events", longest.string()});
    EXPECT_NE(run.errors.find("unknown event"), std::string::npos) << run.errors;
}

TEST(Play, StandardInputIsAnsweredOneEventAtATime)
{
    CTemporaryFolder root;
    int toChild[2];
    int fromChild[2];
    ASSERT_EQ(pipe(toChild), 0);
    ASSERT_EQ(pipe(fromChild), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
    {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        close(toChild[1]);
        close(fromChild[0]);
        const std::string rootPath = root.Path().string();
        execl(TAVRINO_PROGRAM, TAVRINO_PROGRAM, "play", "--root", rootPath.c_str(), "--events", "-",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);

    // Each line must arrive while standard input is still open: no buffering until the end.
    std::string pending;
    const auto readLine = [&]() -> std::string
    {
        for (;;)
        {
            const auto end = pending.find('\n');
            if (end != std::string::npos)
            {
                std::string line = pending.substr(0, end);
                pending.erase(0, end + 1);
                return line;
            }
            pollfd descriptor{fromChild[0], POLLIN, 0};
            if (poll(&descriptor, 1, 20000) <= 0)
                return "<timeout>";
            char buffer[65536];
            const auto count = read(fromChild[0], buffer, sizeof buffer);
            if (count <= 0)
                return "<end>";
            pending.append(buffer, static_cast<std::size_t>(count));
        }
    };
    EXPECT_TRUE(readLine().starts_with("{\"event\": \"init\""));
    for (const std::string event : {"tick", "size:480x640"})
    {
        const std::string line = event + "\n";
        ASSERT_EQ(write(toChild[1], line.data(), line.size()), static_cast<ssize_t>(line.size()));
        EXPECT_TRUE(readLine().starts_with("{\"event\": \"" + event + "\"")) << event;
    }
    close(toChild[1]);
    EXPECT_EQ(readLine(), "<end>");
    close(fromChild[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(Play, RootMustBeAFolder)
{
    CTemporaryFolder root;
    const auto file = root.Write("file.txt", "x");
    for (const std::string& bad : {(root.Path() / "missing").string(), file.string()})
    {
        const auto run = RunProgram({"play", "--root", bad});
        EXPECT_EQ(run.exitStatus, 2) << bad;
        EXPECT_EQ(SplitLines(run.errors).size(), 1u) << run.errors;
        EXPECT_NE(run.errors.find(bad), std::string::npos);
        EXPECT_TRUE(run.output.empty());
    }
}

TEST(Play, WithoutRootTheProgramsFolderIsTheProgramFolder)
{
    const auto run = RunProgram({"play"});
    ASSERT_EQ(run.exitStatus, 0);
    const std::string program = TAVRINO_PROGRAM;
    const std::string folder = program.substr(0, program.rfind('/') + 1);
    EXPECT_NE(run.output.find("\"g_appFolder\": \"" + folder + "\""), std::string::npos);
}

TEST(Play, RelativeRootBecomesAbsolute)
{
    CTemporaryFolder root;
    root.MakeFolder("Themen");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(root.Path());
    const auto run = RunProgram({"play", "--root", "Themen/../Themen"});
    std::filesystem::current_path(saved);
    ASSERT_EQ(run.exitStatus, 0) << run.errors;
    EXPECT_NE(run.output.find("\"g_appFolder\": \"" + root.Folder() + "Themen/\""),
              std::string::npos);
}

// `play --events -` as a process that the test talks to, one event at a time, so that files
// can change between two events.
class CPlayProcess
{
public:
    explicit CPlayProcess(const std::string& root)
    {
        int toChild[2];
        int fromChild[2];
        int errorsFromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0 || pipe(errorsFromChild) != 0)
            return;
        m_child = fork();
        if (m_child == 0)
        {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            dup2(errorsFromChild[1], 2);
            close(toChild[1]);
            close(fromChild[0]);
            close(errorsFromChild[0]);
            execl(TAVRINO_PROGRAM, TAVRINO_PROGRAM, "play", "--root", root.c_str(), "--events", "-",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        close(errorsFromChild[1]);
        m_input = toChild[1];
        m_output = fromChild[0];
        m_errors = errorsFromChild[0];
    }

    // The line that answers `event`; "<timeout>" or "<end>" when none comes.
    std::string Send(const std::string& event)
    {
        const std::string line = event + "\n";
        if (write(m_input, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            return "<end>";
        return ReadLine();
    }

    std::string ReadLine()
    {
        for (;;)
        {
            const auto end = m_pending.find('\n');
            if (end != std::string::npos)
            {
                std::string line = m_pending.substr(0, end);
                m_pending.erase(0, end + 1);
                return line;
            }
            pollfd descriptor{m_output, POLLIN, 0};
            if (poll(&descriptor, 1, 20000) <= 0)
                return "<timeout>";
            char buffer[65536];
            const auto count = read(m_output, buffer, sizeof buffer);
            if (count <= 0)
                return "<end>";
            m_pending.append(buffer, static_cast<std::size_t>(count));
        }
    }

    // Ends the events and returns what went to standard error.
    std::string Finish()
    {
        close(m_input);
        std::string errors;
        char buffer[4096];
        for (;;)
        {
            const auto count = read(m_errors, buffer, sizeof buffer);
            if (count <= 0)
                break;
            errors.append(buffer, static_cast<std::size_t>(count));
        }
        close(m_output);
        close(m_errors);
        waitpid(m_child, &m_status, 0);
        return errors;
    }
    int Status() const { return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1; }

private:
    pid_t m_child = -1;
    int m_input = -1;
    int m_output = -1;
    int m_errors = -1;
    int m_status = 0;
    std::string m_pending;
};

TEST(Play, ReloadReadsTheEditedListAndReportsItsFindings)
{
    CTemporaryFolder root;
    const auto list = root.Write("Thema/Liste.lst", "$Kopf\r\nEins;\r\nZwei;\r\nDrei;\r\n");
    CPlayProcess play(root.Path().string());
    EXPECT_TRUE(play.ReadLine().starts_with("{\"event\": \"init\""));
    // Before a list is open there is nothing to read again, and nothing is said.
    EXPECT_TRUE(play.Send("reload").starts_with("{\"event\": \"reload\""));
    for (const char* event : {"centre", "menu:0", "menu:0", "right"})
        play.Send(event);
    root.Write("Thema/Liste.lst", "$Kopf\r\nEins;\r\nZwei neu;\r\n@nirgends\r\nDrei;\r\n");
    const std::string reloaded = play.Send("reload");
    EXPECT_TRUE(reloaded.starts_with("{\"event\": \"reload\"")) << reloaded;
    EXPECT_NE(reloaded.find("\"1002\": {\"text\": \"Liste neu geladen\""), std::string::npos);
    EXPECT_NE(reloaded.find("\"1020\": {\"text\": \"Zwei neu\""), std::string::npos);
    // The next event takes the note away.
    EXPECT_NE(play.Send("size:240x320").find("\"1002\": {\"text\": \"Kopf\""), std::string::npos);
    std::filesystem::remove(list);
    EXPECT_NE(play.Send("reload").find("\"1020\": {\"text\": \"Zwei neu\""), std::string::npos);

    const auto errors = SplitLines(play.Finish());
    EXPECT_EQ(play.Status(), 0);
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0], "tavrino: '" + list.string() + "' read again: 1 error, 1 warning");
    EXPECT_TRUE(errors[1].starts_with(list.string() + ":4: error: ")) << errors[1];
    EXPECT_TRUE(errors[2].starts_with(list.string() + ":5: warning: ")) << errors[2];
    EXPECT_EQ(errors[3],
              "tavrino: '" + list.string() + "' cannot be read; the screen stays as it was");
}

} // namespace
