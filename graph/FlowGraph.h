// The flow of one list as a driver meets it: each screen a node, each button an edge. Made by
// CFlowGraphBuilder; written as DOT, SVG or JSON by the front end.
#pragma once

#include "platform/Text.h"

#include <cstdint>
#include <vector>

struct GraphDocument
{
    Text path;           // as found: the list's, or the text file's
    bool isList = false; // else a text file that a line of the list loads
};

struct GraphNode
{
    enum class Kind
    {
        Start,    // the list chosen on the sub-menu
        Step,     // text with "Weiter"
        Question, // text with "Nein" and "Ja"
        Picture,
        Warning, // the stopwatch still runs
        End,     // "Liste abgearbeitet!"
        Message, // a message box, after which the pass goes on
        Fault,   // a message box after which the list is left
    };
    Kind kind = Kind::Step;
    int document = 0;
    std::int32_t line = 0; // from 1; the line that made the screen; 0 for the end screen
    Text text;             // what the screen or the box says; a picture's name
    Text heading;          // set on the way to the screen, if it was
    Text subHeading;
};

struct GraphEdge
{
    int from = 0; // node indexes
    int to = 0;
    Text label; // the button, "OK" of a message box, or the tap on a picture
    int document = 0;
    std::int32_t line = 0; // from 1: the line the edge comes from
    bool operator==(const GraphEdge&) const = default;
};

struct FlowGraph
{
    std::vector<GraphDocument> documents; // the list first
    std::vector<GraphNode> nodes;         // the start node first
    std::vector<GraphEdge> edges;
    // The exploration stopped at its limit: the graph shows part of the list only.
    bool truncated = false;
};
