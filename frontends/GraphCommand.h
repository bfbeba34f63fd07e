// `tavrino graph`: the screens of one list and the buttons between them, as DOT, SVG or JSON.
#pragma once

#include "app/CommandLine.h"
#include "platform/IPictureDecoder.h"

#include <ostream>

// 0 when the graph is written; 2 when the list does not exist, is no file, or the output
// cannot be written or rendered, after one line on `errors`. `decoder` may be null.
int RunGraph(const CommandLine& commandLine, IPictureDecoder* decoder, std::ostream& output,
             std::ostream& errors);
