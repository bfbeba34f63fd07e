#include "frontends/GraphvizSvg.h"

#include <graphviz/gvc.h>
#include <memory>

std::optional<Text> RenderSvg(const Text& dot, Text& error)
{
    const std::unique_ptr<GVC_t, decltype(&gvFreeContext)> context(gvContext(), gvFreeContext);
    if (!context)
    {
        error = "Graphviz could not start";
        return std::nullopt;
    }
    const std::unique_ptr<Agraph_t, decltype(&agclose)> graph(agmemread(dot.c_str()), agclose);
    if (!graph)
    {
        error = "Graphviz could not read the graph";
        return std::nullopt;
    }
    if (gvLayout(context.get(), graph.get(), "dot") != 0)
    {
        error = "Graphviz has no 'dot' layout (its plugins are missing)";
        return std::nullopt;
    }
    char* data = nullptr;
    unsigned int length = 0;
    const int rendered = gvRenderData(context.get(), graph.get(), "svg", &data, &length);
    std::optional<Text> svg;
    if (rendered == 0 && data != nullptr)
        svg = Text(data, length);
    else
        error = "Graphviz has no SVG renderer (its plugins are missing)";
    if (data != nullptr)
        gvFreeRenderData(data);
    gvFreeLayout(context.get(), graph.get());
    return svg;
}
