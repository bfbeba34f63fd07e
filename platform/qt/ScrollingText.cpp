#include "platform/qt/ScrollingText.h"

#include "platform/qt/Theme.h"

#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QScroller>
#include <QScrollerProperties>
#include <QTextOption>
#include <algorithm>
#include <cmath>

namespace
{
constexpr int LargestShareOfWidthForBar = 5; // the bar takes at most a fifth of the width
// A block is laid out in well under a frame; the idle slices stay shorter than a tap.
constexpr qsizetype LongestBlock = 4096;
constexpr qint64 SliceMilliseconds = 10;
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

QRect CScrollingText::CScrollBarStyle::subControlRect(ComplexControl control,
                                                      const QStyleOptionComplex* option,
                                                      SubControl subControl,
                                                      const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || bar == nullptr || bar->orientation != Qt::Vertical)
    {
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
    const QRect groove = bar->rect;
    const int range = bar->maximum - bar->minimum;
    const int length =
        range <= 0 ? groove.height()
                   : std::clamp(static_cast<int>(static_cast<qint64>(groove.height()) *
                                                 bar->pageStep / (range + bar->pageStep)),
                                std::min(groove.width(), groove.height()), groove.height());
    const int top = groove.top() + sliderPositionFromValue(bar->minimum, bar->maximum,
                                                           bar->sliderPosition,
                                                           groove.height() - length,
                                                           bar->upsideDown);
    const QRect handle(groove.left(), top, groove.width(), length);
    switch (subControl)
    {
    case SC_ScrollBarGroove:
        return groove;
    case SC_ScrollBarSlider:
        return handle;
    case SC_ScrollBarSubPage:
        return QRect(groove.left(), groove.top(), groove.width(), handle.top() - groove.top());
    case SC_ScrollBarAddPage:
        return QRect(groove.left(), handle.bottom() + 1, groove.width(),
                     groove.bottom() - handle.bottom());
    default:
        return QRect();
    }
}

void CScrollingText::CScrollBarStyle::drawComplexControl(ComplexControl control,
                                                         const QStyleOptionComplex* option,
                                                         QPainter* painter,
                                                         const QWidget* widget) const
{
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    if (control != CC_ScrollBar || bar == nullptr || bar->orientation != Qt::Vertical)
    {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    painter->fillRect(bar->rect, ScrollBarGroove(bar->palette));
    const QRect handle = subControlRect(control, option, SC_ScrollBarSlider, widget);
    const int inset = std::max(handle.width() / 6, 1);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(ScrollBarHandle(bar->palette));
    const QRectF rounded = QRectF(handle).adjusted(inset, inset, -inset, -inset);
    painter->drawRoundedRect(rounded, rounded.width() / 3, rounded.width() / 3);
    painter->restore();
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

    m_sliceTimer.setSingleShot(true);
    m_sliceTimer.setInterval(0);
    connect(&m_sliceTimer, &QTimer::timeout, this, &CScrollingText::LayOutSlice);
}

void CScrollingText::SetText(const QString& text)
{
    if (text == m_text)
    {
        return;
    }
    m_text = text;
    m_shownLength = ShownLength(m_text);
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
    LayOutTo(std::numeric_limits<double>::infinity());
    return static_cast<int>(std::ceil(m_laidOutHeight));
}

bool CScrollingText::MoreBelow() const
{
    const QScrollBar* bar = verticalScrollBar();
    return bar->value() < bar->maximum() || (m_overflows && !m_layoutComplete);
}

bool CScrollingText::LayoutComplete() const
{
    return m_layoutValid && m_layoutComplete;
}

QStringList CScrollingText::Lines()
{
    EnsureLayout();
    LayOutTo(std::numeric_limits<double>::infinity());
    QStringList lines;
    for (const Block& block : m_blocks)
    {
        const QString text = block.layout->text();
        for (int i = 0; i < block.layout->lineCount(); ++i)
        {
            const QTextLine line = block.layout->lineAt(i);
            lines << text.mid(line.textStart(), line.textLength()).remove(QChar::LineSeparator);
        }
    }
    return lines;
}

void CScrollingText::Invalidate()
{
    m_layoutValid = false;
    m_sliceTimer.stop();
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
    const QFontMetrics metrics(TextFont());
    StartLayout(fullWidth);
    // Enough to tell whether the text overflows, and by how much if only by a descender.
    LayOutTo(height() + metrics.descent() + 1);

    // A box that misses its lines by less than a descender (a heading of a window turned
    // wide) shows the ink of the letters centred, without the empty space around it.
    m_inkShift = 0;
    const int contentHeight = static_cast<int>(std::ceil(m_laidOutHeight));
    bool overflows = contentHeight > height();
    const QTextLayout& first = *m_blocks.front().layout;
    const QTextLayout& last = *m_blocks.back().layout;
    if (overflows && m_layoutComplete && contentHeight - height() <= metrics.descent() &&
        first.lineCount() > 0 && last.lineCount() > 0)
    {
        const QFontMetricsF inkMetrics(TextFont());
        const QTextLine firstLine = first.lineAt(0);
        const QTextLine lastLine = last.lineAt(last.lineCount() - 1);
        const double inkTop =
            firstLine.y() + firstLine.ascent() +
            inkMetrics
                .tightBoundingRect(first.text().mid(firstLine.textStart(), firstLine.textLength()))
                .top();
        const double inkBottom =
            m_blocks.back().top + lastLine.y() + lastLine.ascent() +
            inkMetrics
                .tightBoundingRect(last.text().mid(lastLine.textStart(), lastLine.textLength()))
                .bottom();
        // Glyph outlines are measured to the pixel; half a pixel of antialiased edge may go.
        if (inkBottom - inkTop <= height() + 1)
        {
            m_inkShift = inkTop - (height() - (inkBottom - inkTop)) / 2;
            overflows = false;
        }
    }
    // A box of a line or two (a heading) has no room for a bar; it is dragged, and its mark
    // shows that it goes on.
    const bool needsBar = overflows && height() >= 3 * metrics.height();
    if (needsBar)
    {
        // Only the first screen was laid out at the full width.
        StartLayout(std::max(fullWidth - barWidth, 1));
        LayOutTo(height());
        if (m_scrollBarStyle->extent != barWidth)
        {
            m_scrollBarStyle->extent = barWidth;
            verticalScrollBar()->updateGeometry();
        }
    }
    setVerticalScrollBarPolicy(needsBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_overflows = overflows;
    UpdateScrollRange();
    if (!m_layoutComplete)
    {
        m_sliceTimer.start();
    }
}

void CScrollingText::StartLayout(int width)
{
    m_sliceTimer.stop();
    m_blocks.clear();
    m_cursor = {};
    m_layoutWidth = width;
    m_laidOutHeight = 0;
    m_layoutComplete = false;
}

void CScrollingText::LayOutTo(double height)
{
    QString text;
    while (!m_layoutComplete && m_laidOutHeight < height && NextBlockText(m_cursor, text))
    {
        Block block;
        block.layout = std::make_unique<QTextLayout>();
        block.top = m_laidOutHeight;
        block.height = LayOutBlock(*block.layout, text, m_layoutWidth);
        m_laidOutHeight += block.height;
        m_blocks.push_back(std::move(block));
        m_layoutComplete = CursorAtEnd(m_cursor);
    }
}

void CScrollingText::LayOutSlice()
{
    if (!m_layoutValid)
    {
        return;
    }
    QElapsedTimer slice;
    slice.start();
    while (!m_layoutComplete && slice.elapsed() < SliceMilliseconds)
    {
        LayOutTo(m_laidOutHeight + 1);
    }
    UpdateScrollRange();
    viewport()->update();
    if (!m_layoutComplete)
    {
        m_sliceTimer.start();
    }
}

void CScrollingText::UpdateScrollRange()
{
    const int lineHeight = QFontMetrics(TextFont()).height();
    const int visible = std::max(height(), 1);
    const int contentHeight = static_cast<int>(
        std::min(std::ceil(m_laidOutHeight), double(std::numeric_limits<int>::max())));
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, m_overflows ? std::max(contentHeight - visible, 0) : 0);
    bar->setPageStep(std::max(visible - lineHeight, lineHeight));
    bar->setSingleStep(std::max(lineHeight, 1));
}

qsizetype CScrollingText::ShownLength(const QString& text)
{
    if (text.size() <= LongestShownText)
    {
        return text.size();
    }
    // The cut falls after a space or line end if there is one near, so no word is split.
    const qsizetype space = text.lastIndexOf(QLatin1Char(' '), LongestShownText - 1);
    const qsizetype lineFeed = text.lastIndexOf(QLatin1Char('\n'), LongestShownText - 1);
    const qsizetype gap = std::max(space, lineFeed);
    if (gap >= LongestShownText - LongestBlock)
    {
        return gap + 1;
    }
    // Never half of a character that takes two code units.
    return text[LongestShownText - 1].isHighSurrogate() ? LongestShownText - 1 : LongestShownText;
}

bool CScrollingText::CursorAtEnd(const BlockCursor& cursor) const
{
    return cursor.textDone && (cursor.noticeDone || m_text.size() <= m_shownLength);
}

bool CScrollingText::NextBlockText(BlockCursor& cursor, QString& text) const
{
    if (!cursor.textDone)
    {
        const qsizetype end = m_shownLength;
        qsizetype stop = end;
        qsizetype next = end;
        if (end - cursor.position > LongestBlock)
        {
            // Whole lines where they are short enough; a longer line is broken after a
            // space, and only a run without spaces anywhere.
            const qsizetype limit = cursor.position + LongestBlock;
            const qsizetype lineFeed = m_text.lastIndexOf(QLatin1Char('\n'), limit - 1);
            const qsizetype space = m_text.lastIndexOf(QLatin1Char(' '), limit - 1);
            if (lineFeed >= cursor.position)
            {
                stop = lineFeed;
                next = lineFeed + 1;
            }
            else if (space >= cursor.position + LongestBlock / 2)
            {
                stop = next = space + 1;
            }
            else
            {
                stop = next = m_text[limit - 1].isHighSurrogate() ? limit - 1 : limit;
            }
        }
        else
        {
            cursor.textDone = true;
        }
        text = m_text.mid(cursor.position, stop - cursor.position);
        // Within a block, line feeds become forced line breaks.
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        cursor.position = next;
        return true;
    }
    if (!CursorAtEnd(cursor))
    {
        cursor.noticeDone = true;
        text = QStringLiteral("[… gekürzt: weitere %1 Zeichen nicht angezeigt]")
                   .arg(QLocale(QLocale::German).toString(m_text.size() - m_shownLength));
        return true;
    }
    return false;
}

int CScrollingText::Padding() const
{
    // Text that runs along the window's edge is hard to read.
    return std::max(m_pixelSize / 4, 1);
}

QFont CScrollingText::TextFont() const
{
    QFont textFont = font();
    textFont.setPixelSize(m_pixelSize);
    return textFont;
}

double CScrollingText::LayOutBlock(QTextLayout& layout, const QString& text, int width) const
{
    width = std::max(width - 2 * Padding(), 1);
    const QFont textFont = TextFont();
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
    return y;
}

int CScrollingText::HeightForWidth(int width, int enough) const
{
    QTextLayout layout;
    BlockCursor cursor;
    QString text;
    double height = 0;
    while (height <= enough && NextBlockText(cursor, text))
    {
        height += LayOutBlock(layout, text, width);
    }
    return static_cast<int>(std::min(std::ceil(height), double(std::numeric_limits<int>::max())));
}

void CScrollingText::paintEvent(QPaintEvent*)
{
    EnsureLayout();
    const double offset = verticalScrollBar()->value() + m_inkShift;
    LayOutTo(offset + viewport()->height());
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF inView(0, offset, viewport()->width(), viewport()->height());
    painter.translate(0, -offset);
    // The first block that reaches into view, then those below it while they are in view.
    auto block = std::upper_bound(m_blocks.begin(), m_blocks.end(), offset,
                                  [](double y, const Block& b) { return y < b.top + b.height; });
    for (; block != m_blocks.end() && block->top < inView.bottom(); ++block)
    {
        block->layout->draw(&painter, QPointF(Padding(), block->top), {}, inView);
    }
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
    const int band = std::min(QFontMetrics(TextFont()).height(), area.height() / 2);
    const QRect foot(area.left(), area.bottom() - band + 1, area.width(), band);
    QColor background = palette().color(QPalette::Window);
    QLinearGradient fade(foot.topLeft(), foot.bottomLeft());
    background.setAlpha(0);
    fade.setColorAt(0.0, background);
    background.setAlpha(FootFade);
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
