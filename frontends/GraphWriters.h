// The flow graph of a list as text: DOT for Graphviz, and JSON for machines.
#pragma once

#include "check/Finding.h"
#include "graph/FlowGraph.h"

#include <vector>

// What the writers show besides the graph.
struct GraphListing
{
    Text title;                     // the list, as the user named it
    std::vector<Text> shownFiles;   // for each document of the graph, as the user would name it
    std::vector<Finding> unreached; // the checker's findings of lines no pass reaches
    // Errors of the checker that no node of the graph shows at their line (those on lines
    // that no pass reaches).
    std::vector<Finding> otherErrors;
};

// A node's screen in a few words: the first words of a step, a question with its buttons,
// a picture's name; message boxes whole. Lines end with "\n".
Text NodeCaption(const GraphNode& node);

// The graph in the DOT language: nodes by kind (faults red), the lines of each text file in a
// cluster of their own, edges labelled with their button and FILE:LINE, and a note beside
// the graph for lines no pass reaches.
Text DotGraph(const FlowGraph& graph, const GraphListing& listing);

// One JSON object: "list", "nodes" (id, kind, file, line, text, caption, heading,
// sub_heading), "edges" (from, to, label, file, line), "clusters", "unreached" and
// "other_errors" (file, line, text), "truncated". Ends with a line feed.
Text JsonGraph(const FlowGraph& graph, const GraphListing& listing);
