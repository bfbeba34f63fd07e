#include "platform/qt/TypeScale.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace
{
constexpr double SmallestFloor = 14.0;
// The screen the layout was made for, whichever way it is turned.
constexpr double ReferenceShortSide = 240.0;
constexpr double ReferenceLongSide = 320.0;

constexpr double HeadingOverBody = 1.2;
constexpr double ButtonOverBody = 1.25;

int LineHeight(QFont font, int pixelSize)
{
    font.setPixelSize(pixelSize);
    return QFontMetrics(font).height();
}
} // namespace

TypeScale ComputeTypeScale(const QSize& window, int headingBoxHeight, const QFont& font)
{
    const double shortSide = std::min(window.width(), window.height());
    const double longSide = std::max(window.width(), window.height());
    const double growth =
        std::max(std::min(shortSide / ReferenceShortSide, longSide / ReferenceLongSide), 1.0);

    TypeScale scale;
    // Larger screens are mostly denser ones, held at the same distance: by the square root,
    // text keeps about its size on the glass.
    scale.floor = static_cast<int>(std::lround(SmallestFloor * std::sqrt(growth)));
    scale.body = scale.floor;
    scale.subHeading = scale.body;
    scale.buttonLargest = static_cast<int>(std::lround(scale.body * ButtonOverBody));

    // A heading takes one line of its box where it can, never less than the body.
    scale.heading = scale.body;
    const int largestHeading = static_cast<int>(std::lround(scale.body * HeadingOverBody));
    for (int size = largestHeading; size > scale.body; --size)
    {
        if (LineHeight(font, size) <= headingBoxHeight)
        {
            scale.heading = size;
            break;
        }
    }
    return scale;
}
