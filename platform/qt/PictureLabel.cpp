#include "platform/qt/PictureLabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

CPictureLabel::CPictureLabel(QWidget* parent, TapReport tapReport)
    : QWidget(parent), m_tapReport(tapReport)
{
}

void CPictureLabel::SetImage(const QImage& image)
{
    m_image = image;
    m_scaled = QPixmap();
    update();
}

const QImage& CPictureLabel::Image() const
{
    return m_image;
}

QRect CPictureLabel::ImageRect() const
{
    if (m_image.isNull() || width() <= 0 || height() <= 0)
    {
        return QRect();
    }
    const QSize drawn = m_image.size().scaled(size(), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return QRect(QPoint((width() - drawn.width()) / 2, (height() - drawn.height()) / 2), drawn);
}

void CPictureLabel::Tap()
{
    if (m_tapReport == TapReport::Report)
        emit Tapped();
}

void CPictureLabel::paintEvent(QPaintEvent*)
{
    const QRect target = ImageRect();
    if (target.isEmpty())
    {
        return;
    }
    // A large picture is scaled once per size, not at every paint.
    if (m_scaled.size() != target.size())
    {
        m_scaled = QPixmap::fromImage(
            m_image.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    QPainter painter(this);
    painter.drawPixmap(target.topLeft(), m_scaled);
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
