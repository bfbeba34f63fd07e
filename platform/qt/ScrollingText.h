// A static text that never hides a word: it wraps at spaces, breaks a word only where the word
// alone is wider than the box, and scrolls what does not fit. A finger drags or flicks it, a
// wide scroll bar appears, and a mark at the foot shows that more follows until the end is in
// view. The text is laid out once per text, size and width, in pieces: what is in view at
// once, the rest a little at a time while the window is idle, so that a tap never waits for
// a long text. Only the lines in view are drawn.
#pragma once

#include <QAbstractScrollArea>
#include <QProxyStyle>
#include <QString>
#include <QTextLayout>
#include <QTimer>
#include <limits>
#include <memory>
#include <vector>

class CScrollingText : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit CScrollingText(QWidget* parent);

    // Line feeds break lines. A new text starts at its top. Of a text longer than
    // LongestShownText characters only that many are shown, followed by a line that says so.
    void SetText(const QString& text);
    static constexpr qsizetype LongestShownText = 1 << 20;
    // How far the foot fades towards the window's colour (of 255) while more text follows.
    static constexpr int FootFade = 235;
    const QString& Text() const;
    // The text's pixel size, and the width of the scroll bar when one is needed; the bar never
    // takes more than a fifth of the box.
    void SetTypeSizes(int pixelSize, int scrollBarWidth);
    int PixelSize() const;
    // Qt::AlignLeft or Qt::AlignHCenter; lines start at the top.
    void SetAlignment(Qt::Alignment alignment);
    Qt::Alignment Alignment() const;

    // The height the whole text needs at the present width, and whether part of it is out of
    // view below, so that the mark that more follows is shown. ContentHeight() and Lines()
    // finish the layout first.
    int ContentHeight();
    bool MoreBelow() const;
    // The text of each line as laid out at the present width.
    QStringList Lines();
    // Whether all of the text is laid out; until then the rest follows while the window is idle.
    bool LayoutComplete() const;
    // The height the whole text needs in a box `width` pixels wide, without a scroll bar; it
    // stops counting once the height passes `enough`.
    int HeightForWidth(int width, int enough = std::numeric_limits<int>::max()) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // A paragraph, or a piece of a long one, laid out on its own.
    struct Block
    {
        std::unique_ptr<QTextLayout> layout;
        double top = 0;
        double height = 0;
    };
    // Where the next block begins in the text; past the shown text comes the line saying
    // that the text is cut, then nothing.
    struct BlockCursor
    {
        qsizetype position = 0;
        bool textDone = false;
        bool noticeDone = false;
    };

    void Invalidate();
    void EnsureLayout();
    void StartLayout(int width);
    // Lays out further blocks until `height` pixels are laid out or the text ends.
    void LayOutTo(double height);
    void LayOutSlice();
    void UpdateScrollRange();
    // The text of the next block at `cursor`, which it moves on; false at the end.
    bool NextBlockText(BlockCursor& cursor, QString& text) const;
    bool CursorAtEnd(const BlockCursor& cursor) const;
    // How much of `text` is shown: all of it, or a cut at a word's end.
    static qsizetype ShownLength(const QString& text);
    QFont TextFont() const;
    // Lays `text` out into `layout` at `width` (padding taken off); returns the height.
    double LayOutBlock(QTextLayout& layout, const QString& text, int width) const;
    void PaintMoreMark(QPainter& painter) const;
    int Padding() const;

    QString m_text;
    qsizetype m_shownLength = 0;
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
        // A groove and a handle the whole width of the bar, without arrow buttons, in the
        // colours of the text: the style's own handle hardly stands out from its groove.
        QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                             SubControl subControl, const QWidget* widget) const override;
        void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                QPainter* painter, const QWidget* widget) const override;
    };
    std::unique_ptr<CScrollBarStyle> m_scrollBarStyle;

    std::vector<Block> m_blocks;
    BlockCursor m_cursor;
    int m_layoutWidth = 1;
    double m_laidOutHeight = 0;
    bool m_layoutComplete = true;
    bool m_layoutValid = false;
    bool m_overflows = false;
    QTimer m_sliceTimer;   // lays out the rest of a long text while the window is idle
    double m_inkShift = 0; // moves lines that fit only by their ink up into the box
};
