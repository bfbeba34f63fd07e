// Text for the terminal: made safe to print, measured and wrapped in characters.
#pragma once

#include "platform/Text.h"

#include <string_view>
#include <vector>

// Whether a line feed in a text breaks the line or is just another control character.
enum class LineFeeds
{
    BreakLines,
    Replace,
};

// The text as displayable UTF-8 in which every control character (C0, DEL, C1) reads "?", so
// that names and list lines can never move the cursor or switch the terminal's modes.
Text TerminalSafeText(std::string_view text, LineFeeds lineFeeds);

// Columns the text takes: one per UTF-8 character.
std::size_t DisplayWidth(std::string_view text);

// The text in lines of at most `width` characters, broken at spaces; a word wider than a line
// alone is cut. Every "\n" starts a new line. A width of 0 counts as 1.
std::vector<Text> WrapText(std::string_view text, std::size_t width);
