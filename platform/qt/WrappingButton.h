// A push button whose label wraps onto as many lines as its place needs, centred: at spaces,
// and inside a word only where the word alone is wider than the button. The surface gives every
// button of a screen one pixel size. The label is shown as it stands: an '&' is no shortcut
// marker, so folder and list names keep it.
#pragma once

#include "platform/qt/Theme.h"

#include <QPushButton>
#include <QString>
#include <functional>

class CWrappingButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CWrappingButton(QWidget* parent);

    void SetLabel(const QString& label);
    const QString& Label() const;

    // Where the label's pixel size comes from; asked at every paint, so that a size shared by
    // several buttons is settled once the screen is complete. Without one, 14 pixels.
    void SetPixelSizeSource(std::function<int()> source);
    // The pixel size the label is painted with.
    int LabelPixelSize() const;
    // Whether the whole label fits the button at `pixelSize`, wrapped at spaces only.
    bool LabelFits(int pixelSize) const;

    // The colours it is drawn in; the day theme's until told otherwise. Must outlive the button.
    void SetColours(const ThemeColours& colours);
    // Whether the thick frame of the keyboard focus is drawn, and how wide it is.
    bool ShowsFocusFrame() const;
    int FocusFrameWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect LabelRect() const;

    QString m_label;
    std::function<int()> m_pixelSizeSource;
    const ThemeColours* m_colours;
};
