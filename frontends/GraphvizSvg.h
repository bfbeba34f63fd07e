// SVG from DOT through Graphviz's own library, laid out in this process: no `dot` program
// needs to be installed.
#pragma once

#include "platform/Text.h"

#include <optional>

// The SVG of `dot`, laid out with Graphviz's "dot" layout; nothing when Graphviz refuses the
// text or has no layout or SVG renderer, with `error` saying which.
std::optional<Text> RenderSvg(const Text& dot, Text& error);
