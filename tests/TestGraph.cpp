// The flow graph of a list: its screens and buttons as the runner shows them, its agreement
// with `check`, and `tavrino graph` on the command line.
#include "TestSupport.h"
#include "check/ListChecker.h"
#include "graph/FlowGraphBuilder.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <set>

namespace
{
namespace fs = std::filesystem;

const char* KindName(GraphNode::Kind kind)
{
    static constexpr const char* names[] = {"start",   "step", "question", "picture",
                                            "warning", "end",  "message",  "fault"};
    return names[static_cast<std::size_t>(kind)];
}

// A node as "kind:line", with "file#" before it for a text file's.
std::string NodeName(const FlowGraph& graph, int index)
{
    const GraphNode& node = graph.nodes[static_cast<std::size_t>(index)];
    std::string name = KindName(node.kind);
    if (node.kind == GraphNode::Kind::Start || node.kind == GraphNode::Kind::End)
        return name;
    name += ":" + std::to_string(node.line);
    const GraphDocument& document = graph.documents[static_cast<std::size_t>(node.document)];
    return document.isList ? name : fs::path(document.path).filename().string() + "#" + name;
}

// Each edge as "from -label@line-> to", sorted.
std::vector<std::string> EdgeNames(const FlowGraph& graph)
{
    std::vector<std::string> names;
    for (const GraphEdge& edge : graph.edges)
        names.push_back(NodeName(graph, edge.from) + " -" + edge.label + "@" +
                        std::to_string(edge.line) + "-> " + NodeName(graph, edge.to));
    std::sort(names.begin(), names.end());
    return names;
}

struct GraphCase
{
    const char* name;
    std::vector<std::pair<std::string, std::string>> files; // in topic "T"; the list is a.lst
    std::vector<std::string> edges;
};

void PrintTo(const GraphCase& graphCase, std::ostream* output)
{
    *output << graphCase.name;
}

// clang-format off
const GraphCase GraphCases[] = {
    // "Zurück" to the one screen that leads to a screen is the way back: not drawn.
    {"StraightSteps", {{"a.lst", "Eins;\nZwei;\nDrei;\n"}},
     {"start -Start@1-> step:1", "step:1 -Weiter@1-> step:2", "step:2 -Weiter@2-> step:3",
      "step:3 -Weiter@3-> end"}},
    // After a picture, "Zurück" walks back to the step before it, not to the picture; from
    // the end screen it shows the picture.
    {"BackOverAPicture", {{"a.lst", "Eins;\n*p.png\nZwei;\n"}, {"p.png", "PICTURE 4x4"}},
     {"end -Zurück@3-> picture:2", "picture:2 -Bild antippen@2-> step:3", "start -Start@1-> step:1",
      "step:1 -Weiter@1-> picture:2", "step:3 -Weiter@3-> end", "step:3 -Zurück@3-> step:1"}},
    // A jump over a step: "Zurück" goes by the lines, and so shows the same step again.
    {"BackAfterAJump", {{"a.lst", "Eins;\nZwei;\n@x\nNie;\n%x\nDrei;\n"}},
     {"start -Start@1-> step:1", "step:1 -Weiter@1-> step:2", "step:2 -Weiter@2-> step:6",
      "step:6 -Weiter@6-> end", "step:6 -Zurück@6-> step:6"}},
    // The answers lead from the targets line; after a question no screen offers "Zurück".
    {"Question", {{"a.lst", "Eins;\nGut?\nn/j\n%n\nNein;\n@e\n%j\nJa;\n%e\nEnde;\n"}},
     {"question:2 -Ja@3-> step:8", "question:2 -Nein@3-> step:5", "start -Start@1-> step:1",
      "step:10 -Weiter@10-> end", "step:1 -Weiter@1-> question:2", "step:5 -Weiter@5-> step:10",
      "step:8 -Weiter@8-> step:10"}},
    // A check warns only while a stopwatch may run: after its start line, not before it, but
    // again when "Zurück" goes back before the start line.
    {"StopwatchWarning", {{"a.lst", ":\nEins;\n:60 Bremse\nZwei;\n:\nDrei;\n"}},
     {"end -Zurück@6-> warning:5", "start -Start@1-> step:2", "step:2 -Weiter@2-> step:4",
      "step:4 -Weiter@4-> step:6", "step:4 -Weiter@4-> warning:5", "step:4 -Zurück@4-> warning:1",
      "step:6 -Weiter@6-> end", "step:6 -Zurück@6-> step:4", "warning:1 -Weiter@1-> step:2",
      "warning:5 -Weiter@5-> step:6"}},
    // A message box comes between the button and the screen after it, also on the way back.
    {"MessageOnTheWay", {{"a.lst", "Eins;\n*\nZwei;\n"}},
     {"end -Zurück@3-> message:2", "message:2 -OK@2-> step:3", "start -Start@1-> step:1",
      "step:1 -Weiter@1-> message:2", "step:3 -Weiter@3-> end"}},
    {"TextFile", {{"a.lst", "Eins;\n§t.txt\n"}, {"t.txt", "Teil;\nMehr;\n"}},
     {"start -Start@1-> step:1", "step:1 -Weiter@1-> t.txt#step:1",
      "t.txt#step:1 -Weiter@1-> t.txt#step:2", "t.txt#step:2 -Weiter@2-> end"}},
    {"Faults", {{"a.lst", "Eins;\nGut?\nn j\n"}, {"b.lst", "@x\n"}},
     {"start -Start@1-> step:1", "step:1 -Weiter@1-> fault:3"}},
};
// clang-format on

class Graph : public testing::TestWithParam<GraphCase>
{
};

FlowGraph BuildGraph(const CTemporaryFolder& folder, const std::string& list)
{
    CFakePictureDecoder decoder;
    return CFlowGraphBuilder(&decoder).Build(folder.Folder(), folder.Folder() + "T/", list);
}

TEST_P(Graph, ScreensAndButtonsAsTheRunnerShowsThem)
{
    CTemporaryFolder folder;
    for (const auto& [name, bytes] : GetParam().files)
        folder.Write("T/" + name, bytes);
    const FlowGraph graph = BuildGraph(folder, "a.lst");
    std::vector<std::string> expected = GetParam().edges;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(EdgeNames(graph), expected);
    EXPECT_FALSE(graph.truncated);
}

INSTANTIATE_TEST_SUITE_P(Lists, Graph, testing::ValuesIn(GraphCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GraphLimit, ManyStopwatchChecksStopAtTheLimitWithAPartOfTheGraph)
{
    CTemporaryFolder folder;
    std::string list = ":60 Bremse\n";
    for (int i = 0; i < 400; ++i)
        list += ":\nText\n";
    list += "Ende;\n";
    folder.Write("T/a.lst", list);
    CFakePictureDecoder decoder;
    const Text topic = folder.Folder() + "T/";
    const FlowGraph whole = CFlowGraphBuilder(&decoder).Build(folder.Folder(), topic, "a.lst");
    EXPECT_FALSE(whole.truncated);
    // Each warning, and each step after one: it shows the text from that check on.
    EXPECT_EQ(whole.nodes.size(), 1u + 400u + 400u + 1u);
    const FlowGraph part =
        CFlowGraphBuilder(&decoder, 10000).Build(folder.Folder(), topic, "a.lst");
    EXPECT_TRUE(part.truncated);
    EXPECT_LT(part.nodes.size(), whole.nodes.size());
}

// Every error `check` finds in a list is a box or fault of its graph at the same file and
// line, unless no pass reaches that line (`unreached`).
void ExpectAgreement(const Text& programFolder, const Text& listFolder, const Text& fileName,
                     const std::set<std::int32_t>& unreached = {})
{
    SCOPED_TRACE(listFolder + fileName);
    CFakePictureDecoder decoder;
    const FlowGraph graph = CFlowGraphBuilder(&decoder).Build(programFolder, listFolder, fileName);
    CListChecker checker(&decoder);
    checker.CheckList(programFolder, listFolder, fileName);
    checker.Finish();
    for (const Finding& finding : checker.Findings())
    {
        if (finding.severity != Severity::Error)
            continue;
        const bool shown =
            std::any_of(graph.nodes.begin(), graph.nodes.end(),
                        [&](const GraphNode& node)
                        {
                            return (node.kind == GraphNode::Kind::Fault ||
                                    node.kind == GraphNode::Kind::Message) &&
                                   node.line == finding.line &&
                                   graph.documents[static_cast<std::size_t>(node.document)].path ==
                                       finding.path;
                        });
        EXPECT_EQ(shown, !unreached.contains(finding.line))
            << finding.file << ":" << finding.line << ": " << finding.text;
    }
}

struct FaultList
{
    const char* name;
    std::vector<std::pair<std::string, std::string>> files; // in topic "T"; the list is a.lst
    std::set<std::int32_t> unreached;
};

// clang-format off
const FaultList FaultLists[] = {
    {"MissingTextFile", {{"a.lst", "Eins;\n§fehlt.txt\n"}}, {}},
    {"TextFileWithoutName", {{"a.lst", "Eins;\n§\n"}}, {}},
    {"ZeroDuration", {{"a.lst", "Eins;\n:x Bremse\nZwei;\n"}}, {}},
    {"PictureWithoutName", {{"a.lst", "Eins;\n*\nZwei;\n"}}, {}},
    {"MissingPicture", {{"a.lst", "Eins;\n*fehlt.png\nZwei;\n"}}, {}},
    {"UnloadablePicture", {{"a.lst", "Eins;\n*kaputt.png\nZwei;\n"}, {"kaputt.png", "kein Bild"}}, {}},
    {"PictureOutside", {{"a.lst", "Eins;\n*../../draußen.png\nZwei;\n"}}, {}},
    {"MissingJumpLabel", {{"a.lst", "Eins;\n@fehlt\n"}}, {}},
    {"MissingNoLabel", {{"a.lst", "Gut?\nn/j\n%j\nJa;\n"}}, {}},
    {"MissingYesLabel", {{"a.lst", "Gut?\nn/j\n%n\nNein;\n"}}, {}},
    {"TargetsWithoutSlash", {{"a.lst", "Gut?\nn j\n"}}, {}},
    {"QuestionInLastLine", {{"a.lst", "Eins;\nGut?\n"}}, {}},
    {"JumpLoop", {{"a.lst", "Eins;\n%oben\n@oben\n"}}, {}},
    {"TextFileLoadsItself", {{"a.lst", "Eins;\n§t.txt\n"}, {"t.txt", "§t.txt\n"}}, {}},
    {"FaultInTextFile", {{"a.lst", "Eins;\n§t.txt\n"}, {"t.txt", "Teil;\n@fehlt\n"}}, {}},
    {"FaultAfterAnAnswer", {{"a.lst", "Gut?\nn/j\n%n\n*\nNein;\n@\n%j\n:0\nJa;\n"}}, {}},
    {"FaultNoPassReaches", {{"a.lst", "Eins;\n@\n@fehlt\n"}}, {3}},
};
// clang-format on

void PrintTo(const FaultList& list, std::ostream* output)
{
    *output << list.name;
}

class GraphAgreesWithCheck : public testing::TestWithParam<FaultList>
{
};

TEST_P(GraphAgreesWithCheck, EveryErrorAtItsLine)
{
    CTemporaryFolder folder;
    for (const auto& [name, bytes] : GetParam().files)
        folder.Write("P/T/" + name, bytes);
    ExpectAgreement(folder.Folder() + "P/", folder.Folder() + "P/T/", "a.lst",
                    GetParam().unreached);
}

INSTANTIATE_TEST_SUITE_P(Faults, GraphAgreesWithCheck, testing::ValuesIn(FaultLists),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GraphAgreesWithCheck, EverySampleList)
{
    const fs::path examples = TAVRINO_EXAMPLES;
    int lists = 0;
    for (const auto& entry : fs::recursive_directory_iterator(examples))
    {
        if (entry.path().extension() != ".lst" || entry.path().parent_path() == examples)
            continue;
        const fs::path topic = entry.path().parent_path();
        ExpectAgreement(topic.parent_path().string() + "/", topic.string() + "/",
                        entry.path().filename().string());
        ++lists;
    }
    EXPECT_GT(lists, 10);
}

// ---- The command line ------------------------------------------------------------------

TEST(GraphCommand, WritesEachFormat)
{
    CTemporaryFolder folder;
    const std::string list =
        folder.Write("P/Ü T/Die \"Liste\".lst", "$Kopf\nEins;\n@x\nNie;\n%x\n@fehlt\n").string();
    const auto dot = RunProgram({"graph", list});
    EXPECT_EQ(dot.exitStatus, 0) << dot.errors;
    EXPECT_TRUE(dot.output.starts_with("digraph \"")) << dot.output;
    EXPECT_NE(dot.output.find("Die \\\"Liste\\\".lst"), std::string::npos) << dot.output;
    EXPECT_NE(dot.output.find("color=\"#cc0000\""), std::string::npos) << dot.output;
    EXPECT_NE(dot.output.find("shape=note"), std::string::npos) << dot.output;

    const auto json = RunProgram({"graph", "--format", "json", list});
    EXPECT_EQ(json.exitStatus, 0) << json.errors;
    EXPECT_NE(json.output.find("\"kind\": \"fault\""), std::string::npos) << json.output;
    EXPECT_NE(json.output.find("\"unreached\": [\n  {\"file\": "), std::string::npos)
        << json.output;

    const std::string svgFile = (folder.Path() / "g.svg").string();
    const auto svg = RunProgram({"graph", "--format=svg", "-o", svgFile, list});
    EXPECT_EQ(svg.exitStatus, 0) << svg.errors;
    EXPECT_TRUE(svg.output.empty());
    std::ifstream file(svgFile);
    const std::string text((std::istreambuf_iterator<char>(file)), {});
    EXPECT_NE(text.find("<svg"), std::string::npos);
    EXPECT_NE(text.find("Die Sprungmarke für JA"), std::string::npos);
}

// Each edge of an SVG graph as the largest x of its line and the texts of its label with
// their x; a label's text is drawn from its x onwards.
struct DrawnEdge
{
    double lineRight = 0;
    std::vector<std::pair<std::string, double>> texts;
};

std::vector<DrawnEdge> DrawnEdges(const std::string& svg)
{
    static const std::regex group(R"re(<g id="edge\d+" class="edge">([\s\S]*?)</g>)re");
    static const std::regex path(R"re(<path [^>]*d="M([^"]*)")re");
    static const std::regex point(R"re((-?[\d.]+),-?[\d.]+)re");
    static const std::regex text(
        R"re(<text text-anchor="start" x="(-?[\d.]+)"[^>]*>([^<]*)</text>)re");
    std::vector<DrawnEdge> edges;
    for (std::sregex_iterator g(svg.begin(), svg.end(), group), end; g != end; ++g)
    {
        const std::string body = (*g)[1];
        DrawnEdge edge;
        std::smatch line;
        if (std::regex_search(body, line, path))
        {
            const std::string points = line[1];
            for (std::sregex_iterator p(points.begin(), points.end(), point); p != end; ++p)
                edge.lineRight = std::max(edge.lineRight, std::stod((*p)[1]));
        }
        for (std::sregex_iterator t(body.begin(), body.end(), text); t != end; ++t)
            edge.texts.emplace_back((*t)[2], std::stod((*t)[1]));
        edges.push_back(edge);
    }
    return edges;
}

// A label set right against its straight edge has its first letter crossed by the line; names
// with markup characters must reach the picture as they are.
TEST(GraphCommand, EdgeLabelsStandClearOfTheirLinesAndKeepTheirNames)
{
    struct Case
    {
        const char* name;
        const char* file;
        const char* shown; // the start of the label's second line, as SVG writes it
    };
    const Case cases[] = {
        {"plain", "Jede Liste.lst", "Jede Liste.lst:"},
        {"ampersand", "Bremse & Tür.lst", "Bremse &amp; Tür.lst:"},
        {"angle brackets", "<neu>.lst", "&lt;neu&gt;.lst:"},
        {"quotes", "\"Ü\".lst", "&quot;Ü&quot;.lst:"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        CTemporaryFolder folder;
        const std::string list =
            folder.Write(std::string("P/T/") + c.file, "$Kopf\nJede Zeile;\nNoch eine;\n").string();
        const std::string svgFile = (folder.Path() / "g.svg").string();
        const auto run = RunProgram({"graph", "--format", "svg", "-o", svgFile, list});
        ASSERT_EQ(run.exitStatus, 0) << run.errors;
        std::ifstream file(svgFile);
        const std::string svg((std::istreambuf_iterator<char>(file)), {});

        const std::vector<DrawnEdge> edges = DrawnEdges(svg);
        ASSERT_EQ(edges.size(), 3u) << svg; // Start, and "Weiter" after each step
        for (const DrawnEdge& edge : edges)
        {
            ASSERT_EQ(edge.texts.size(), 2u) << svg;
            EXPECT_TRUE(edge.texts[1].first.starts_with(c.shown)) << edge.texts[1].first;
            for (const auto& [text, left] : edge.texts)
                EXPECT_GE(left, edge.lineRight + 2) << text;
        }
    }
}

TEST(GraphCommand, CommandLineFaultsAreOneLine)
{
    CTemporaryFolder folder;
    const std::string list = folder.Write("P/T/a.lst", "Eins;\n").string();
    const std::string text = folder.Write("P/T/a.txt", "Eins;\n").string();
    const std::vector<std::vector<std::string>> cases = {
        {"graph"},
        {"graph", folder.Folder() + "P/T/fehlt.lst"},
        {"graph", folder.Folder() + "P/T"},
        {"graph", text},
        {"graph", "--format", "png", list},
        {"graph", list, list},
        {"graph", "--bunt", list},
        {"graph", "-o", folder.Folder() + "kein/Ordner.dot", list},
    };
    for (const auto& arguments : cases)
    {
        SCOPED_TRACE(arguments.back());
        const auto run = RunProgram(arguments);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_TRUE(run.output.empty()) << run.output;
        ASSERT_EQ(SplitLines(run.errors).size(), 1u) << run.errors;
        EXPECT_TRUE(run.errors.starts_with("tavrino: ")) << run.errors;
    }
}
} // namespace
