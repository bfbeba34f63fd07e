// A static text that never hides a word: it wraps at spaces, breaks a word only where the word
// alone is wider than the box, and scrolls what does not fit. A finger drags or flicks it, a
// wide scroll bar appears, and a mark at the foot shows that more follows until the end is in
// view. The text is laid out once per text, size and width, and only the lines in view are
// drawn.
#pragma once

#include <QAbstractScrollArea>
#include <QProxyStyle>
#include <QString>
#include <QTextLayout>
#include <memory>

class CScrollingText : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CScrollingText(QWidget* parent);

    // Line feeds break lines. A new text starts at its top.
    void SetText(const QString& text);
    const QString& Text() const;
    // The text's pixel size, and the width of the scroll bar when one is needed; the bar never
    // takes more than a fifth of the box.
    void SetTypeSizes(int pixelSize, int scrollBarWidth);
    int PixelSize() const;
    // Qt::AlignLeft or Qt::AlignHCenter; lines start at the top.
    void SetAlignment(Qt::Alignment alignment);
    Qt::Alignment Alignment() const;

    // The height the whole text needs at the present width, and whether part of it is out of
    // view below, so that the mark that more follows is shown.
    int ContentHeight();
    bool MoreBelow() const;
    // The text of each line as laid out at the present width.
    QStringList Lines();
    // The height the whole text needs in a box `width` pixels wide, without a scroll bar.
    int HeightForWidth(int width) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Invalidate();
    void EnsureLayout();
    void LayOut(int width);
    // Lays the text out into `layout` at `width`; returns the height it takes.
    int LayOutInto(QTextLayout& layout, int width) const;
    void PaintMoreMark(QPainter& painter) const;
    int Padding() const;

    QString m_text;
    int m_pixelSize = 14;
    Qt::Alignment m_alignment = Qt::AlignLeft;
    int m_scrollBarWidth = 24;

    // Gives the scroll bar the width asked for: styles take their own otherwise.
    class CScrollBarStyle : public QProxyStyle
    {
    public:
        int extent = 24;
        int pixelMetric(PixelMetric metric, const QStyleOption* option,
                        const QWidget* widget) const override;
    };
    std::unique_ptr<CScrollBarStyle> m_scrollBarStyle;

    QTextLayout m_layout;
    bool m_layoutValid = false;
    int m_contentHeight = 0;
    double m_inkShift = 0; // moves lines that fit only by their ink up into the box
};
