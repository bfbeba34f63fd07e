// Every colour the window draws with, one set per theme, so that the contrast of each pair
// that is drawn can be checked in one place. Text on its background keeps at least 4.5:1, and
// the focus frame at least 3:1 against what lies on either side of it (WCAG 2, relative
// luminance).
#pragma once

#include "platform/ColourTheme.h"

#include <QColor>
#include <QPalette>

struct ThemeColours
{
    QColor window;     // behind the texts
    QColor windowText; // headings and step text, and the mark that more text follows
    // A button's face runs from its top colour down to its face colour.
    QColor buttonFaceTop;
    QColor buttonFace;
    QColor buttonBorder;
    QColor defaultButtonFaceTop; // the default button's tint
    QColor defaultButtonFace;
    QColor defaultButtonBorder;
    QColor pressedButtonFace; // while a finger or the mouse holds the button down
    QColor buttonText;
    QColor focusFrame; // around the control that has the keyboard focus
    QColor boxBackground;
    QColor boxText;
    QColor captionBackground;
    QColor captionText;
    QColor dimming; // laid over the window while a message box is open; has alpha
};

const ThemeColours& ColoursOf(ColourTheme theme);
// The palette of the window, for what Qt draws by itself (the scroll bar) and what the
// controls inherit.
QPalette PaletteOf(ColourTheme theme);
ColourTheme OtherTheme(ColourTheme theme);

// WCAG 2: the relative luminance of a colour (its alpha ignored), and the contrast ratio of
// two colours, from 1 to 21.
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& first, const QColor& second);
// `top` laid over the opaque `bottom` with the alpha of `top`.
QColor Blend(const QColor& top, const QColor& bottom);

// The scroll bar of a long text, from the colours of the text and its window: a groove barely
// set off from the window and a handle that stands out from both.
QColor ScrollBarGroove(const QPalette& palette);
QColor ScrollBarHandle(const QPalette& palette);
