#include "platform/qt/Theme.h"

#include <algorithm>
#include <cmath>

namespace
{
// Day is the look the window always had: Qt's push buttons as they were drawn, with the
// frame of the keyboard focus in an orange that no button has.
const ThemeColours Day{
    .window = QColor(0xf7, 0xf7, 0xf5),
    .windowText = QColor(0x1a, 0x1a, 0x1a),
    .buttonFaceTop = QColor(0xfe, 0xfe, 0xfe),
    .buttonFace = QColor(0xe3, 0xe5, 0xe8),
    .buttonBorder = QColor(0xb0, 0xb0, 0xaf),
    .defaultButtonFaceTop = QColor(0xfe, 0xfe, 0xfe),
    .defaultButtonFace = QColor(0xd9, 0xe4, 0xed),
    .defaultButtonBorder = QColor(0x26, 0x70, 0x9e),
    .pressedButtonFace = QColor(0xd1, 0xd4, 0xd7),
    .buttonText = QColor(0x10, 0x10, 0x10),
    .focusFrame = QColor(0xb3, 0x47, 0x00),
    .boxBackground = Qt::white,
    .boxText = QColor(0x1a, 0x1a, 0x1a),
    .captionBackground = QColor(0x2f, 0x4a, 0x66),
    .captionText = Qt::white,
    .dimming = QColor(0, 0, 0, 110),
};

// Night keeps the light low: dark faces, grey rather than white letters, no large bright
// area; an amber focus frame, the colour of the cab's own night lights.
const ThemeColours Night{
    .window = QColor(0x10, 0x12, 0x14),
    .windowText = QColor(0xb4, 0xb9, 0xbf),
    .buttonFaceTop = QColor(0x2b, 0x30, 0x36),
    .buttonFace = QColor(0x24, 0x28, 0x2d),
    .buttonBorder = QColor(0x5c, 0x63, 0x6b),
    .defaultButtonFaceTop = QColor(0x22, 0x42, 0x66),
    .defaultButtonFace = QColor(0x1c, 0x3a, 0x5c),
    .defaultButtonBorder = QColor(0x4f, 0x7f, 0xb3),
    .pressedButtonFace = QColor(0x3d, 0x44, 0x4c),
    .buttonText = QColor(0xc3, 0xc7, 0xcc),
    .focusFrame = QColor(0xd0, 0x8c, 0x1c),
    .boxBackground = QColor(0x1c, 0x1f, 0x23),
    .boxText = QColor(0xb4, 0xb9, 0xbf),
    .captionBackground = QColor(0x2a, 0x3f, 0x57),
    .captionText = QColor(0xd0, 0xd4, 0xd9),
    .dimming = QColor(0, 0, 0, 150),
};

double Linear(int channel)
{
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}
} // namespace

const ThemeColours& ColoursOf(ColourTheme theme)
{
    return theme == ColourTheme::Night ? Night : Day;
}

QPalette PaletteOf(ColourTheme theme)
{
    const ThemeColours& colours = ColoursOf(theme);
    QPalette palette;
    palette.setColor(QPalette::Window, colours.window);
    palette.setColor(QPalette::WindowText, colours.windowText);
    palette.setColor(QPalette::Base, colours.boxBackground);
    palette.setColor(QPalette::Text, colours.windowText);
    palette.setColor(QPalette::ButtonText, colours.buttonText);
    if (theme == ColourTheme::Day)
    {
        // As the window always had it: the scroll bar keeps Qt's look.
        palette.setColor(QPalette::Button, QColor(0xe3, 0xe6, 0xea));
        palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x90, 0x90, 0x90));
        palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x90, 0x90, 0x90));
        return palette;
    }
    // The scroll bar's handle is drawn in the button colour; it has to stand out from the
    // dark groove.
    const QColor handle(0x6a, 0x72, 0x7b);
    palette.setColor(QPalette::Button, handle);
    palette.setColor(QPalette::Light, handle.lighter(130));
    palette.setColor(QPalette::Midlight, handle.lighter(115));
    palette.setColor(QPalette::Mid, handle.darker(130));
    palette.setColor(QPalette::Dark, handle.darker(160));
    palette.setColor(QPalette::Shadow, Qt::black);
    palette.setColor(QPalette::Highlight, colours.captionBackground);
    palette.setColor(QPalette::HighlightedText, colours.captionText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x7a, 0x80, 0x87));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x7a, 0x80, 0x87));
    return palette;
}

ColourTheme OtherTheme(ColourTheme theme)
{
    return theme == ColourTheme::Night ? ColourTheme::Day : ColourTheme::Night;
}

double RelativeLuminance(const QColor& colour)
{
    const QColor rgb = colour.toRgb();
    return 0.2126 * Linear(rgb.red()) + 0.7152 * Linear(rgb.green()) + 0.0722 * Linear(rgb.blue());
}

double ContrastRatio(const QColor& first, const QColor& second)
{
    const double a = RelativeLuminance(first);
    const double b = RelativeLuminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

QColor Blend(const QColor& top, const QColor& bottom)
{
    const QColor t = top.toRgb();
    const QColor b = bottom.toRgb();
    const double alpha = t.alphaF();
    const auto mix = [alpha](int over, int under)
    { return static_cast<int>(std::lround(over * alpha + under * (1.0 - alpha))); };
    return QColor(mix(t.red(), b.red()), mix(t.green(), b.green()), mix(t.blue(), b.blue()));
}

namespace
{
QColor TextOverWindow(const QPalette& palette, double share)
{
    QColor text = palette.color(QPalette::WindowText).toRgb();
    text.setAlphaF(static_cast<float>(share));
    return Blend(text, palette.color(QPalette::Window));
}
} // namespace

QColor ScrollBarGroove(const QPalette& palette)
{
    return TextOverWindow(palette, 0.12);
}

QColor ScrollBarHandle(const QPalette& palette)
{
    return TextOverWindow(palette, 0.75);
}
