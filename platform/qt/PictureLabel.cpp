#include "platform/qt/PictureLabel.h"

#include <QMouseEvent>
#include <QPainter>

CPictureLabel::CPictureLabel(QWidget* parent, TapReport tapReport)
    : QWidget(parent), m_tapReport(tapReport)
{
}

void CPictureLabel::SetImage(const QImage& image, const QSize& displaySize)
{
    m_image = image;
    m_displaySize = image.isNull() ? QSize() : displaySize;
    update();
}

const QImage& CPictureLabel::Image() const
{
    return m_image;
}

QSize CPictureLabel::DisplaySize() const
{
    return m_displaySize;
}

void CPictureLabel::paintEvent(QPaintEvent*)
{
    if (m_image.isNull() || m_displaySize.isEmpty())
    {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRect(QPoint(0, 0), m_displaySize), m_image);
}

void CPictureLabel::mousePressEvent(QMouseEvent* event)
{
    if (m_tapReport == TapReport::Report && event->button() == Qt::LeftButton)
    {
        m_pressed = true;
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}

void CPictureLabel::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_tapReport == TapReport::Report && event->button() == Qt::LeftButton && m_pressed)
    {
        m_pressed = false;
        event->accept();
        if (rect().contains(event->position().toPoint()))
        {
            emit Tapped();
        }
        return;
    }
    QWidget::mouseReleaseEvent(event);
}
