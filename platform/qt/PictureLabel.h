// The picture control: draws an image whole, in its own proportions, centred and as large as
// the control allows; the control itself is the frame, and a tap anywhere in it is reported
// when asked to.
#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
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
    void SetImage(const QImage& image);
    const QImage& Image() const;
    // Where the image is drawn, in the control's coordinates; empty without an image.
    QRect ImageRect() const;

    // A tap from elsewhere (a key): reported as a tap on the frame when taps are reported.
    void Tap();

signals:
    // A press and release of the primary button inside the frame.
    void Tapped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TapReport m_tapReport;
    QImage m_image;
    QPixmap m_scaled; // m_image at the size it was last drawn
    bool m_pressed = false;
};
