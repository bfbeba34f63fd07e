// Builds the flow graph of a list by running its passes with the runner's pass engine, from
// the first line and from wherever a button leads, as the runner would. What the runner keeps
// between screens and what decides the buttons (a question shown before, the step count, a
// stopwatch that may still run) goes with each start, so that "Zurück" and the stopwatch
// warnings appear only where the runner shows them.
#pragma once

#include "graph/FlowGraph.h"
#include "platform/IPictureDecoder.h"

#include <cstdint>

class CFlowGraphBuilder
{
public:
    // Lines read by all passes together before the builder stops with a part of the graph:
    // enough for any list a person writes, and about a second of work.
    static constexpr std::int64_t DefaultMostLinesRead = 20'000'000;

    // `decoder` tells whether a picture can be loaded; null: a picture that exists will do.
    // It is not owned and must outlive the builder.
    explicit CFlowGraphBuilder(IPictureDecoder* decoder,
                               std::int64_t mostLinesRead = DefaultMostLinesRead);

    // Folders end with "/"; `listFolder` lies inside `programFolder`. A list that cannot be
    // read gives the start node and the screen the runner shows for it.
    FlowGraph Build(const Text& programFolder, const Text& listFolder, const Text& fileName);

private:
    IPictureDecoder* m_decoder;
    std::int64_t m_mostLinesRead;
};
