#include "frontends/GraphCommand.h"

#include "check/ListChecker.h"
#include "frontends/GraphWriters.h"
#include "frontends/GraphvizSvg.h"
#include "frontends/PathNaming.h"
#include "graph/FlowGraphBuilder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace
{
namespace fs = std::filesystem;

// Where the graph shows a box or a fault: the checker's errors there need no note.
bool GraphShowsFault(const FlowGraph& graph, const GraphListing& listing, const Finding& finding)
{
    return std::any_of(
        graph.nodes.begin(), graph.nodes.end(),
        [&](const GraphNode& node)
        {
            return (node.kind == GraphNode::Kind::Fault || node.kind == GraphNode::Kind::Message) &&
                   node.document >= 0 && node.line == finding.line &&
                   listing.shownFiles[static_cast<std::size_t>(node.document)] == finding.file;
        });
}
} // namespace

int RunGraph(const CommandLine& commandLine, IPictureDecoder* decoder, std::ostream& output,
             std::ostream& errors)
{
    const Text& argument = commandLine.paths.front();
    std::error_code error;
    const fs::path given(argument);
    if (!fs::exists(fs::symlink_status(given, error)))
    {
        errors << "tavrino: '" << argument << "' does not exist; " << UsageHint << "\n";
        return 2;
    }
    if (fs::is_directory(given, error))
    {
        errors << "tavrino: '" << argument << "' is a folder, not a list; " << UsageHint << "\n";
        return 2;
    }
    const fs::path absolute = fs::absolute(given, error).lexically_normal();
    const Text listFolder = AsFolder(absolute.parent_path());
    const Text programFolder = AsFolder(absolute.parent_path().parent_path());
    const Text fileName = absolute.filename().string();
    const std::vector<FolderNaming> namings{
        {listFolder, AsFolder(given.parent_path())},
        {programFolder, AsFolder(given.parent_path() / "..")},
    };

    const FlowGraph graph = CFlowGraphBuilder(decoder).Build(programFolder, listFolder, fileName);
    GraphListing listing;
    listing.title = MakeDisplayable(ShownPath(listFolder + fileName, namings));
    for (const GraphDocument& document : graph.documents)
        listing.shownFiles.push_back(MakeDisplayable(ShownPath(document.path, namings)));

    // The checker's view of the same list: what no pass reaches, and errors on such lines.
    CListChecker checker(decoder);
    checker.CheckList(programFolder, listFolder, fileName);
    checker.Finish();
    for (Finding finding : checker.Findings())
    {
        finding.file = ShownPath(finding.file, namings);
        if (finding.code == "unreachable")
            listing.unreached.push_back(std::move(finding));
        else if (finding.severity == Severity::Error && !GraphShowsFault(graph, listing, finding))
            listing.otherErrors.push_back(std::move(finding));
    }

    Text text;
    switch (commandLine.graphFormat)
    {
    case GraphFormat::Dot:
        text = DotGraph(graph, listing);
        break;
    case GraphFormat::Json:
        text = JsonGraph(graph, listing);
        break;
    case GraphFormat::Svg:
    {
        Text failure;
        const auto svg = RenderSvg(DotGraph(graph, listing), failure);
        if (!svg)
        {
            errors << "tavrino: " << failure << "\n";
            return 2;
        }
        text = *svg;
        break;
    }
    }
    if (commandLine.outputFile.empty())
    {
        output << text;
        output.flush();
        return output ? 0 : 2;
    }
    std::ofstream file(commandLine.outputFile, std::ios::binary);
    file << text;
    file.close();
    if (!file)
    {
        errors << "tavrino: cannot write '" << commandLine.outputFile << "'\n";
        return 2;
    }
    return 0;
}
