// Builds the flow graph of a list by running its passes with the runner's pass engine, from
// the first line and from wherever a button leads, as the runner would. What the runner keeps
// between screens and what decides the buttons (a question shown before, the step count, a
// stopwatch that may still run) goes with each start, so that "Zurück" and the stopwatch
// warnings appear only where the runner shows them.
#pragma once

#include "graph/FlowGraph.h"
#include "platform/IPictureDecoder.h"

class CFlowGraphBuilder
{
public:
    // `decoder` tells whether a picture can be loaded; null: a picture that exists will do.
    // It is not owned and must outlive the builder.
    explicit CFlowGraphBuilder(IPictureDecoder* decoder);

    // Folders end with "/"; `listFolder` lies inside `programFolder`. A list that cannot be
    // read gives the start node and the screen the runner shows for it.
    FlowGraph Build(const Text& programFolder, const Text& listFolder, const Text& fileName);

    // Passes followed at most, so that a list of very many branches still ends.
    static constexpr int MaximumPasses = 200000;

private:
    IPictureDecoder* m_decoder;
};
