// Font sizes that let a text fit its control, so that nothing is cut off.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

// The largest pixel size from `largest` down to `smallest` at which `text`, laid out with
// the Qt::AlignmentFlag / Qt::TextFlag `flags`, fits inside `box`. `smallest` when none fits.
int FittingPixelSize(const QFont& font, const QString& text, const QSize& box, int flags,
                     int largest, int smallest);
