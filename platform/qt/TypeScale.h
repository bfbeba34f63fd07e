// The sizes of type for one window size. Every text of a kind shares one size, so that a
// page does not show three sizes for three buttons, and no text is ever smaller than a floor
// that reads at arm's length: rather than shrink, text scrolls.
#pragma once

#include <QFont>
#include <QSize>

struct TypeScale
{
    int floor = 14;      // pixel size no text goes below
    int body = 14;       // the step text and message boxes
    int subHeading = 14; // never larger than the heading
    int heading = 14;
    int buttonLargest = 14; // buttons share one size from `body` up to this
};

// Sizes in device-independent pixels for a window of `window` whose heading has a box
// `headingBoxHeight` pixels high, in `font`'s family. The floor is 14 pixels at the 240 x 320
// screen the layout was made for and grows with the window (a window turned keeps its sizes);
// Qt's scale factor then enlarges everything on the device.
TypeScale ComputeTypeScale(const QSize& window, int headingBoxHeight, const QFont& font);
