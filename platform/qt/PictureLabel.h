// The picture control: shows an image at a size the surface chooses, anchored at its top
// left corner and cut at the widget's edges, and reports taps when asked to.
#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>

enum class TapReport
{
    Ignore,
    Report,
};

class CPictureLabel : public QWidget
{
    Q_OBJECT

public:
    CPictureLabel(QWidget* parent, TapReport tapReport);

    // A null image shows nothing.
    void SetImage(const QImage& image, const QSize& displaySize);
    const QImage& Image() const;
    QSize DisplaySize() const;

signals:
    // A press and release of the primary button inside the picture.
    void Tapped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TapReport m_tapReport;
    QImage m_image;
    QSize m_displaySize;
    bool m_pressed = false;
};
