#include "frontends/GraphWriters.h"

#include "frontends/ScreenJson.h"

#include <algorithm>
#include <array>
#include <vector>

namespace
{
// Characters a caption of a step shows at most before it is cut with "…".
constexpr std::size_t StepCaptionCharacters = 70;
constexpr std::size_t QuestionCaptionCharacters = 110;
// Characters a caption line holds before it breaks at a space.
constexpr std::size_t CaptionLineCharacters = 30;

std::size_t CharacterCount(std::string_view text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(),
                      [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// At most `limit` characters, cut at a space where there is one, then "…".
Text Shortened(const Text& text, std::size_t limit)
{
    if (CharacterCount(text) <= limit)
        return text;
    std::size_t bytes = 0;
    for (std::size_t count = 0; count < limit && bytes < text.size(); ++count)
        bytes +=
            std::max<std::size_t>(1, FirstCharacterLength(std::string_view(text).substr(bytes)));
    const std::size_t space = text.rfind(' ', bytes);
    if (space != Text::npos && space > bytes / 2)
        bytes = space;
    return TrimSpaces(text.substr(0, bytes)) + "…";
}

// The text in lines of about `width` characters, broken at spaces; line breaks of its own kept.
Text Wrapped(const Text& text, std::size_t width)
{
    Text result;
    std::size_t lineLength = 0;
    std::size_t at = 0;
    while (at <= text.size())
    {
        const std::size_t end = text.find_first_of(" \n", at);
        const Text word = text.substr(at, end == Text::npos ? Text::npos : end - at);
        const std::size_t length = CharacterCount(word);
        if (lineLength > 0 && lineLength + 1 + length > width)
        {
            result += '\n';
            lineLength = 0;
        }
        else if (lineLength > 0)
        {
            result += ' ';
            ++lineLength;
        }
        result += word;
        lineLength += length;
        if (end == Text::npos)
            break;
        if (text[end] == '\n')
        {
            result += '\n';
            lineLength = 0;
        }
        at = end + 1;
    }
    // Lines that were only spaces leave nothing worth a line.
    Text cleaned;
    for (std::size_t i = 0; i < result.size(); ++i)
    {
        if (result[i] == '\n' && (cleaned.empty() || cleaned.back() == '\n'))
            continue;
        cleaned += result[i];
    }
    while (!cleaned.empty() && cleaned.back() == '\n')
        cleaned.pop_back();
    return cleaned;
}

Text OneLine(const Text& text)
{
    Text line = text;
    std::replace(line.begin(), line.end(), '\n', ' ');
    return TrimSpaces(line);
}

const char* KindName(GraphNode::Kind kind)
{
    static constexpr std::array names{"start",   "step", "question", "picture",
                                      "warning", "end",  "message",  "fault"};
    return names[static_cast<std::size_t>(kind)];
}

// A DOT string: quoted, its quotes and backslashes escaped, control characters shown as "?",
// line breaks as DOT's centred "\n".
Text DotString(std::string_view text)
{
    Text result = "\"";
    for (const char c : MakeDisplayable(text))
    {
        if (c == '"' || c == '\\')
        {
            result += '\\';
            result += c;
        }
        else if (c == '\n')
            result += "\\n";
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            result += '?';
        else
            result += c;
    }
    return result + "\"";
}

// An edge's label as Graphviz's HTML-like label, in a cell with a little room around it:
// Graphviz sets a plain label right against its edge, where a letter that reaches left of its
// place, such as "J", crosses the line. Markup characters become entities.
Text DotEdgeLabel(std::string_view button, std::string_view where)
{
    Text cell;
    for (const char c : MakeDisplayable(Text(button) + "\n" + Text(where)))
    {
        if (c == '&')
            cell += "&amp;";
        else if (c == '<')
            cell += "&lt;";
        else if (c == '>')
            cell += "&gt;";
        else if (c == '"')
            cell += "&quot;";
        else if (c == '\n')
            cell += "<br/>";
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            cell += '?';
        else
            cell += c;
    }
    return "<<table border=\"0\" cellborder=\"0\" cellspacing=\"0\" cellpadding=\"3\"><tr><td>" +
           cell + "</td></tr></table>>";
}

Text BaseName(const Text& path)
{
    const auto slash = path.rfind('/');
    return slash == Text::npos ? path : path.substr(slash + 1);
}

Text Where(const GraphListing& listing, int document, std::int32_t line)
{
    if (document < 0 || static_cast<std::size_t>(document) >= listing.shownFiles.size())
        return {};
    return BaseName(listing.shownFiles[static_cast<std::size_t>(document)]) + ":" +
           DecimalText(line);
}

Text ShownFile(const GraphListing& listing, int document)
{
    if (document < 0 || static_cast<std::size_t>(document) >= listing.shownFiles.size())
        return {};
    return listing.shownFiles[static_cast<std::size_t>(document)];
}

Text NodeStyle(GraphNode::Kind kind)
{
    switch (kind)
    {
    case GraphNode::Kind::Start:
        return "shape=plain, fontsize=14";
    case GraphNode::Kind::Step:
        return "shape=box, style=\"rounded,filled\", fillcolor=\"#f4f4f4\"";
    case GraphNode::Kind::Question:
        return "shape=box, style=\"rounded,filled\", fillcolor=\"#fff3c4\", penwidth=1.5";
    case GraphNode::Kind::Picture:
        return "shape=box3d, style=filled, fillcolor=\"#dcebff\"";
    case GraphNode::Kind::Warning:
        return "shape=box, style=\"rounded,filled\", fillcolor=\"#ffd9a8\"";
    case GraphNode::Kind::End:
        return "shape=box, style=\"rounded,filled,bold\", fillcolor=\"#d6f5d6\"";
    case GraphNode::Kind::Message:
        return "shape=box, style=filled, fillcolor=\"#ffe5e5\", color=\"#cc0000\", "
               "fontcolor=\"#cc0000\"";
    case GraphNode::Kind::Fault:
        return "shape=box, style=\"filled,bold\", fillcolor=\"#ffe5e5\", color=\"#cc0000\", "
               "fontcolor=\"#cc0000\", penwidth=2";
    }
    return {};
}
// The nodes of each document, in the order of the nodes, found in one pass: the boxes of the
// text files.
std::vector<std::vector<std::size_t>> NodesByDocument(const FlowGraph& graph)
{
    std::vector<std::vector<std::size_t>> nodes(graph.documents.size());
    for (std::size_t i = 0; i < graph.nodes.size(); ++i)
    {
        const int document = graph.nodes[i].document;
        if (document >= 0 && static_cast<std::size_t>(document) < nodes.size())
            nodes[static_cast<std::size_t>(document)].push_back(i);
    }
    return nodes;
}
} // namespace

Text NodeCaption(const GraphNode& node)
{
    switch (node.kind)
    {
    case GraphNode::Kind::Start:
        return node.text;
    case GraphNode::Kind::Step:
    case GraphNode::Kind::Warning:
    {
        Text caption;
        const Text heading = OneLine(node.heading);
        const Text subHeading = OneLine(node.subHeading);
        const Text headings =
            heading + (!heading.empty() && !subHeading.empty() ? " / " : "") + subHeading;
        if (!headings.empty())
            caption += "[" + Shortened(headings, CaptionLineCharacters * 2) + "]\n";
        const std::size_t limit =
            node.kind == GraphNode::Kind::Warning ? Text::npos : StepCaptionCharacters;
        return caption + Wrapped(Shortened(OneLine(node.text), limit), CaptionLineCharacters);
    }
    case GraphNode::Kind::Question:
        return Wrapped(Shortened(OneLine(node.text), QuestionCaptionCharacters),
                       CaptionLineCharacters) +
               "\n[Nein]   [Ja]";
    case GraphNode::Kind::Picture:
        return "Bild: " + node.text;
    case GraphNode::Kind::End:
    case GraphNode::Kind::Message:
    case GraphNode::Kind::Fault:
        return Wrapped(node.text, CaptionLineCharacters + 10);
    }
    return node.text;
}

Text DotGraph(const FlowGraph& graph, const GraphListing& listing)
{
    Text dot = "digraph " + DotString(listing.title) +
               " {\n"
               "  graph [charset=\"UTF-8\", rankdir=TB, fontname=\"DejaVu Sans\"];\n"
               "  node [fontname=\"DejaVu Sans\", fontsize=11, margin=\"0.15,0.08\"];\n"
               "  edge [fontname=\"DejaVu Sans\", fontsize=9, color=\"#555555\"];\n";
    const auto nodeLine = [&](std::size_t index, const char* indent)
    {
        const GraphNode& node = graph.nodes[index];
        // The start names the list as the user named it.
        Text label = node.kind == GraphNode::Kind::Start ? listing.title : NodeCaption(node);
        if (node.kind != GraphNode::Kind::Start && node.kind != GraphNode::Kind::End)
            label += "\n" + Where(listing, node.document, node.line);
        return Text(indent) + "n" + DecimalText(static_cast<std::int64_t>(index)) + " [" +
               NodeStyle(node.kind) + ", label=" + DotString(label) + "];\n";
    };
    for (std::size_t i = 0; i < graph.nodes.size(); ++i)
    {
        const int document = graph.nodes[i].document;
        if (document < 0 || graph.documents[static_cast<std::size_t>(document)].isList)
            dot += nodeLine(i, "  ");
    }
    // The lines of each text file in a box of their own, named after the file.
    const auto nodesByDocument = NodesByDocument(graph);
    for (std::size_t d = 0; d < graph.documents.size(); ++d)
    {
        if (graph.documents[d].isList || nodesByDocument[d].empty())
            continue;
        Text cluster;
        for (const std::size_t i : nodesByDocument[d])
            cluster += nodeLine(i, "    ");
        dot += "  subgraph cluster_" + DecimalText(static_cast<std::int64_t>(d)) +
               " {\n    label=" + DotString("§ " + ShownFile(listing, static_cast<int>(d))) +
               ";\n    style=\"rounded,dashed\";\n    color=\"#3366aa\";\n" + cluster + "  }\n";
    }
    for (const GraphEdge& edge : graph.edges)
    {
        const bool fromBox =
            graph.nodes[static_cast<std::size_t>(edge.from)].kind == GraphNode::Kind::Message;
        dot += "  n" + DecimalText(edge.from) + " -> n" + DecimalText(edge.to) +
               " [label=" + DotEdgeLabel(edge.label, Where(listing, edge.document, edge.line)) +
               (edge.label == "Zurück" ? ", style=dashed" : "") +
               (fromBox ? ", color=\"#cc0000\"" : "") + "];\n";
    }
    if (!listing.unreached.empty() || !listing.otherErrors.empty() || graph.truncated)
    {
        Text note;
        if (graph.truncated)
            note += "Nur ein Teil der Liste: zu viele Verzweigungen\\l";
        const auto add = [&](const Finding& finding)
        {
            Text line = DotString(BaseName(finding.file) + ":" + DecimalText(finding.line) + ": " +
                                  OneLine(finding.text));
            note += line.substr(1, line.size() - 2) + "\\l";
        };
        if (!listing.unreached.empty())
            note += "Nie erreicht:\\l";
        for (const Finding& finding : listing.unreached)
            add(finding);
        if (!listing.otherErrors.empty())
            note += "Fehler in nie erreichten Zeilen:\\l";
        for (const Finding& finding : listing.otherErrors)
            add(finding);
        dot += "  unreached [shape=note, fontsize=10, style=filled, fillcolor=\"#fafafa\", "
               "label=\"" +
               note + "\"];\n";
    }
    dot += "}\n";
    return dot;
}

Text JsonGraph(const FlowGraph& graph, const GraphListing& listing)
{
    Text json = "{\"list\": " + JsonString(listing.title) + ",\n \"nodes\": [";
    for (std::size_t i = 0; i < graph.nodes.size(); ++i)
    {
        const GraphNode& node = graph.nodes[i];
        json += i == 0 ? "\n  " : ",\n  ";
        json += "{\"id\": \"n" + DecimalText(static_cast<std::int64_t>(i)) + "\", \"kind\": \"" +
                KindName(node.kind) + "\", \"file\": " +
                (node.document < 0 ? Text("null") : JsonString(ShownFile(listing, node.document))) +
                ", \"line\": " + (node.line > 0 ? DecimalText(node.line) : Text("null")) +
                ", \"text\": " + JsonString(node.text) +
                ", \"caption\": " + JsonString(NodeCaption(node)) +
                ", \"heading\": " + JsonString(node.heading) +
                ", \"sub_heading\": " + JsonString(node.subHeading) + "}";
    }
    json += "],\n \"edges\": [";
    for (std::size_t i = 0; i < graph.edges.size(); ++i)
    {
        const GraphEdge& edge = graph.edges[i];
        json += i == 0 ? "\n  " : ",\n  ";
        json += "{\"from\": \"n" + DecimalText(edge.from) + "\", \"to\": \"n" +
                DecimalText(edge.to) + "\", \"label\": " + JsonString(edge.label) +
                ", \"file\": " + JsonString(ShownFile(listing, edge.document)) +
                ", \"line\": " + DecimalText(edge.line) + "}";
    }
    json += "],\n \"clusters\": [";
    bool first = true;
    const auto nodesByDocument = NodesByDocument(graph);
    for (std::size_t d = 0; d < graph.documents.size(); ++d)
    {
        if (graph.documents[d].isList)
            continue;
        Text members;
        for (const std::size_t i : nodesByDocument[d])
            members += Text(members.empty() ? "" : ", ") + "\"n" +
                       DecimalText(static_cast<std::int64_t>(i)) + "\"";
        json += Text(first ? "\n  " : ",\n  ") +
                "{\"file\": " + JsonString(ShownFile(listing, static_cast<int>(d))) +
                ", \"nodes\": [" + members + "]}";
        first = false;
    }
    const auto findings = [](const std::vector<Finding>& list)
    {
        Text text = "[";
        for (std::size_t i = 0; i < list.size(); ++i)
            text += Text(i == 0 ? "\n  " : ",\n  ") + "{\"file\": " + JsonString(list[i].file) +
                    ", \"line\": " + DecimalText(list[i].line) +
                    ", \"text\": " + JsonString(list[i].text) + "}";
        return text + "]";
    };
    json += "],\n \"unreached\": " + findings(listing.unreached) +
            ",\n \"other_errors\": " + findings(listing.otherErrors) +
            ",\n \"truncated\": " + (graph.truncated ? "true" : "false") + "}\n";
    return json;
}
