// What is written to draw a laid-out screen: plain lines where the output is no terminal,
// control sequences of our own where it is one.
#pragma once

#include "platform/Text.h"

#include <optional>
#include <vector>

// Every line with its line end, as a file or pipe receives the screen.
Text PlainScreenText(const std::vector<Text>& lines);

// The screen cleared and drawn whole from the top left corner. The last line gets no line end,
// so that a screen as high as the terminal does not scroll it.
Text WholeScreenSequence(const std::vector<Text>& lines);

// Rewrites only the lines that differ between the screen shown and the next one, and puts the
// cursor back where it was. Nothing when the number of lines differs: then the screen must be
// drawn whole.
std::optional<Text> ChangedLinesSequence(const std::vector<Text>& shown,
                                         const std::vector<Text>& next);
