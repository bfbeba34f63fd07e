#include "platform/qt/FontFitting.h"

#include <QFontMetrics>
#include <QRect>

namespace
{
bool Fits(QFont font, int pixelSize, const QString& text, const QSize& box, int flags)
{
    font.setPixelSize(pixelSize);
    const QRect needed = QFontMetrics(font).boundingRect(QRect(QPoint(0, 0), box), flags, text);
    return needed.width() <= box.width() && needed.height() <= box.height();
}
} // namespace

int FittingPixelSize(const QFont& font, const QString& text, const QSize& box, int flags,
                     int largest, int smallest)
{
    if (smallest < 1)
    {
        smallest = 1;
    }
    if (largest <= smallest || text.isEmpty())
    {
        return largest < smallest ? smallest : largest;
    }
    if (Fits(font, largest, text, box, flags))
    {
        return largest;
    }
    // The needed height grows with the size; find the largest size that still fits.
    int low = smallest; // taken when nothing fits
    int high = largest; // known not to fit
    while (high - low > 1)
    {
        const int middle = low + (high - low) / 2;
        if (Fits(font, middle, text, box, flags))
        {
            low = middle;
        }
        else
        {
            high = middle;
        }
    }
    return low;
}
