#include "platform/qt/ScrollingText.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QScrollBar>
#include <QScroller>
#include <QScrollerProperties>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace
{
constexpr int LargestShareOfWidthForBar = 5; // the bar takes at most a fifth of the width
} // namespace

int CScrollingText::CScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                                 const QWidget* widget) const
{
    if (metric == PM_ScrollBarExtent)
    {
        return extent;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

CScrollingText::CScrollingText(QWidget* parent)
    : QAbstractScrollArea(parent), m_scrollBarStyle(std::make_unique<CScrollBarStyle>())
{
    verticalScrollBar()->setStyle(m_scrollBarStyle.get());
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(false);
    verticalScrollBar()->setFocusPolicy(Qt::NoFocus);

    // A drag with the finger (or the mouse) moves the text, a flick carries it on. The scroller
    // is fed by hand (see the mouse handlers): Qt's gesture grab leaves a recognizer behind for
    // every text and every message box.
    QScrollerProperties properties = QScroller::scroller(viewport())->scrollerProperties();
    properties.setScrollMetric(QScrollerProperties::OvershootDragResistanceFactor, 0.0);
    properties.setScrollMetric(QScrollerProperties::OvershootScrollDistanceFactor, 0.0);
    properties.setScrollMetric(QScrollerProperties::HorizontalOvershootPolicy,
                               QVariant::fromValue(QScrollerProperties::OvershootAlwaysOff));
    properties.setScrollMetric(QScrollerProperties::VerticalOvershootPolicy,
                               QVariant::fromValue(QScrollerProperties::OvershootAlwaysOff));
    QScroller::scroller(viewport())->setScrollerProperties(properties);
}

void CScrollingText::SetText(const QString& text)
{
    if (text == m_text)
    {
        return;
    }
    m_text = text;
    Invalidate();
    QScroller::scroller(viewport())->stop();
    verticalScrollBar()->setValue(0);
}

const QString& CScrollingText::Text() const
{
    return m_text;
}

void CScrollingText::SetTypeSizes(int pixelSize, int scrollBarWidth)
{
    pixelSize = std::max(pixelSize, 1);
    scrollBarWidth = std::max(scrollBarWidth, 1);
    if (pixelSize == m_pixelSize && scrollBarWidth == m_scrollBarWidth)
    {
        return;
    }
    // Both at once: the text is laid out again once, not once for each.
    m_pixelSize = pixelSize;
    m_scrollBarWidth = scrollBarWidth;
    Invalidate();
}

int CScrollingText::PixelSize() const
{
    return m_pixelSize;
}

void CScrollingText::SetAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment & Qt::AlignHorizontal_Mask;
    Invalidate();
}

Qt::Alignment CScrollingText::Alignment() const
{
    return m_alignment;
}

int CScrollingText::ContentHeight()
{
    EnsureLayout();
    return m_contentHeight;
}

bool CScrollingText::MoreBelow() const
{
    return verticalScrollBar()->value() < verticalScrollBar()->maximum();
}

QStringList CScrollingText::Lines()
{
    EnsureLayout();
    QStringList lines;
    const QString text = m_layout.text();
    for (int i = 0; i < m_layout.lineCount(); ++i)
    {
        const QTextLine line = m_layout.lineAt(i);
        lines << text.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator);
    }
    return lines;
}

void CScrollingText::Invalidate()
{
    m_layoutValid = false;
    // The range decides whether a bar is shown, and that the width: settle it now rather
    // than at the next paint.
    if (isVisible())
    {
        EnsureLayout();
    }
    viewport()->update();
}

void CScrollingText::EnsureLayout()
{
    if (m_layoutValid)
    {
        return;
    }
    m_layoutValid = true;
    const int fullWidth = std::max(width(), 1);
    const int barWidth =
        std::clamp(m_scrollBarWidth, 1, std::max(fullWidth / LargestShareOfWidthForBar, 1));
    LayOut(fullWidth);
    // A box that misses its lines by less than a descender (a heading of a window turned
    // wide) shows the ink of the letters centred, without the empty space around it.
    m_inkShift = 0;
    bool overflows = m_contentHeight > height();
    if (overflows && m_contentHeight - height() <= QFontMetrics(m_layout.font()).descent())
    {
        const QFontMetricsF metrics(m_layout.font());
        const QString text = m_layout.text();
        const QTextLine first = m_layout.lineAt(0);
        const QTextLine last = m_layout.lineAt(m_layout.lineCount() - 1);
        const double inkTop =
            first.y() + first.ascent() +
            metrics.tightBoundingRect(text.mid(first.textStart(), first.textLength())).top();
        const double inkBottom =
            last.y() + last.ascent() +
            metrics.tightBoundingRect(text.mid(last.textStart(), last.textLength())).bottom();
        // Glyph outlines are measured to the pixel; half a pixel of antialiased edge may go.
        if (inkBottom - inkTop <= height() + 1)
        {
            m_inkShift = inkTop - (height() - (inkBottom - inkTop)) / 2;
            overflows = false;
        }
    }
    // A box of a line or two (a heading) has no room for a bar; it is dragged, and its mark
    // shows that it goes on.
    const bool needsBar = overflows && height() >= 3 * QFontMetrics(m_layout.font()).height();
    if (needsBar)
    {
        LayOut(std::max(fullWidth - barWidth, 1));
        if (m_scrollBarStyle->extent != barWidth)
        {
            m_scrollBarStyle->extent = barWidth;
            verticalScrollBar()->updateGeometry();
        }
    }
    setVerticalScrollBarPolicy(needsBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);

    const int lineHeight = QFontMetrics(m_layout.font()).height();
    const int visible = std::max(height(), 1);
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, overflows ? std::max(m_contentHeight - visible, 0) : 0);
    bar->setPageStep(std::max(visible - lineHeight, lineHeight));
    bar->setSingleStep(std::max(lineHeight, 1));
}

int CScrollingText::Padding() const
{
    // Text that runs along the window's edge is hard to read.
    return std::max(m_pixelSize / 4, 1);
}

void CScrollingText::LayOut(int width)
{
    m_contentHeight = LayOutInto(m_layout, width);
}

int CScrollingText::LayOutInto(QTextLayout& layout, int width) const
{
    width = std::max(width - 2 * Padding(), 1);
    QFont textFont = font();
    textFont.setPixelSize(m_pixelSize);
    QString text = m_text;
    // One layout for the whole text: line feeds become forced line breaks inside it.
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    layout.clearLayout();
    layout.setText(text);
    layout.setFont(textFont);
    QTextOption option(m_alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);

    const double lineSpacing = QFontMetricsF(textFont).height();
    double y = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
    {
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += std::max(line.height(), lineSpacing);
    }
    layout.endLayout();
    return static_cast<int>(std::ceil(y));
}

int CScrollingText::HeightForWidth(int width) const
{
    QTextLayout layout;
    return LayOutInto(layout, width);
}

void CScrollingText::paintEvent(QPaintEvent*)
{
    EnsureLayout();
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::WindowText));
    const double offset = verticalScrollBar()->value() + m_inkShift;
    const QRectF inView(0, offset, viewport()->width(), viewport()->height());
    painter.translate(0, -offset);
    m_layout.draw(&painter, QPointF(Padding(), 0), {}, inView);
    painter.translate(0, offset);
    if (MoreBelow())
    {
        PaintMoreMark(painter);
    }
}

void CScrollingText::PaintMoreMark(QPainter& painter) const
{
    // The foot of the box fades out and a triangle points down: the text goes on.
    const QRect area = viewport()->rect();
    const int band = std::min(QFontMetrics(m_layout.font()).height(), area.height() / 2);
    const QRect foot(area.left(), area.bottom() - band + 1, area.width(), band);
    QColor background = palette().color(QPalette::Window);
    QLinearGradient fade(foot.topLeft(), foot.bottomLeft());
    background.setAlpha(0);
    fade.setColorAt(0.0, background);
    background.setAlpha(235);
    fade.setColorAt(0.7, background);
    painter.fillRect(foot, fade);

    const double side = std::max(band * 0.7, 4.0);
    const QPointF tip(foot.center().x() + 0.5, foot.bottom() - band * 0.1);
    QPainterPath triangle;
    triangle.moveTo(tip);
    triangle.lineTo(tip.x() - side / 2, tip.y() - side * 0.6);
    triangle.lineTo(tip.x() + side / 2, tip.y() - side * 0.6);
    triangle.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(triangle, palette().color(QPalette::WindowText));
}

void CScrollingText::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (event->size().width() != event->oldSize().width() ||
        event->size().height() != event->oldSize().height())
    {
        m_layoutValid = false;
        EnsureLayout();
    }
}

void CScrollingText::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
    {
        QScroller::scroller(viewport())
            ->handleInput(QScroller::InputPress, event->position(),
                          static_cast<qint64>(event->timestamp()));
    }
    event->accept();
}

void CScrollingText::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
    {
        QScroller::scroller(viewport())
            ->handleInput(QScroller::InputMove, event->position(),
                          static_cast<qint64>(event->timestamp()));
    }
    event->accept();
}

void CScrollingText::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
    {
        QScroller::scroller(viewport())
            ->handleInput(QScroller::InputRelease, event->position(),
                          static_cast<qint64>(event->timestamp()));
    }
    event->accept();
}

void CScrollingText::scrollContentsBy(int, int)
{
    viewport()->update();
}
