// A push button whose label wraps onto as many lines as its place needs, centred, in the
// largest font up to the layout's size that lets the whole label fit. The label is shown as
// it stands: an '&' is no shortcut marker, so folder and list names keep it.
#pragma once

#include <QPushButton>
#include <QString>

class CWrappingButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CWrappingButton(QWidget* parent);

    void SetLabel(const QString& label);
    const QString& Label() const;

    // Pixel size of the font for labels that fit; longer labels take a smaller one.
    void SetLargestPixelSize(int pixelSize);
    // The pixel size the label is painted with at the button's present size.
    int LabelPixelSize() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect LabelRect() const;

    QString m_label;
    int m_largestPixelSize = 14;
};
