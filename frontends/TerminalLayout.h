// A screen of the terminal version laid out for a terminal's size: the headings at the top,
// the buttons at the bottom, and the body between them, paged when it does not fit.
#pragma once

#include "platform/ControlId.h"
#include "platform/headless/HeadlessSurface.h"

#include <optional>
#include <vector>

struct TerminalSize
{
    std::size_t columns = 72;
    std::size_t rows = 0; // 0: as many as the screen needs; the body is never paged
};

struct ScreenLayout
{
    std::vector<Text> lines;       // top to bottom, without line ends
    std::size_t bodyLines = 0;     // lines of the body in all
    std::size_t bodyWindow = 0;    // how many of them are shown
    std::size_t firstBodyLine = 0; // the first one shown, counted from 0
};

// Keys of the buttons, laid out as the buttons lie under the text.
struct ButtonKey
{
    char key;
    int controlId;
};
inline constexpr ButtonKey NavigationKeys[] = {
    {'a', ControlId::LeftButton}, {'s', ControlId::CentreButton}, {'d', ControlId::RightButton}};
inline constexpr char PictureKey = 'b';
inline constexpr char QuitKey = 'q';

bool IsControlShown(const CHeadlessSurface& surface, int id);

// `box` is the text of the open message box, if one is open. `firstBodyLine` is where the
// reader has scrolled to; the layout keeps it within the body.
ScreenLayout LayOutScreen(const CHeadlessSurface& surface, const std::optional<Text>& box,
                          TerminalSize size, std::size_t firstBodyLine);
