#include "platform/qt/WrappingButton.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionButton>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>

namespace
{
constexpr int DefaultPixelSize = 14;
constexpr QChar ZeroWidthSpace(0x200B);

// A word wider than the label's box has to be broken; cut it into pieces of about equal
// length ("Haupt" "menue") rather than leave a stub of two letters on a line of its own.
QString WithBalancedBreaks(const QString& label, const QFontMetrics& metrics, int width)
{
    if (width <= 0)
    {
        return label;
    }
    QString result;
    const QStringList lines = label.split(QLatin1Char('\n'));
    for (qsizetype l = 0; l < lines.size(); ++l)
    {
        const QStringList words = lines[l].split(QLatin1Char(' '));
        for (qsizetype w = 0; w < words.size(); ++w)
        {
            const QString& word = words[w];
            qsizetype pieces = 1;
            while (pieces < word.size())
            {
                const qsizetype length = (word.size() + pieces - 1) / pieces;
                bool fits = true;
                for (qsizetype start = 0; start < word.size() && fits; start += length)
                {
                    fits = metrics.horizontalAdvance(word.mid(start, length)) <= width;
                }
                if (fits)
                {
                    break;
                }
                ++pieces;
            }
            const qsizetype length = (word.size() + pieces - 1) / pieces;
            for (qsizetype start = 0; start < word.size(); start += length)
            {
                if (start > 0)
                {
                    result += ZeroWidthSpace;
                }
                result += word.mid(start, length);
            }
            if (w + 1 < words.size())
            {
                result += QLatin1Char(' ');
            }
        }
        if (l + 1 < lines.size())
        {
            result += QLatin1Char('\n');
        }
    }
    return result;
}

// The label's lines at `box`'s width. A name too long for the button even at the smallest size
// ends in "…" on the last line that fits, so that the cut shows.
QStringList LabelLines(const QString& label, const QFont& font, const QSize& box)
{
    QString text = label;
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList lines;
    QList<int> starts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
    {
        line.setLineWidth(std::max(box.width(), 1));
        starts << line.textStart();
        lines << text.mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    const QFontMetrics metrics(font);
    const qsizetype room = std::max(box.height() / std::max(metrics.height(), 1), 1);
    if (lines.size() > room)
    {
        lines.resize(room);
        const QString rest = text.mid(starts[room - 1]).replace(QChar::LineSeparator, ' ');
        lines.last() = metrics.elidedText(rest, Qt::ElideRight, std::max(box.width(), 1));
    }
    for (QString& line : lines)
    {
        line.remove(ZeroWidthSpace).remove(QChar::LineSeparator);
        line = line.trimmed();
    }
    return lines;
}
} // namespace

CWrappingButton::CWrappingButton(QWidget* parent)
    : QPushButton(parent), m_colours(&ColoursOf(ColourTheme::Day))
{
}

void CWrappingButton::SetLabel(const QString& label)
{
    if (label == m_label)
    {
        return;
    }
    m_label = label;
    setAccessibleName(label);
    update();
}

const QString& CWrappingButton::Label() const
{
    return m_label;
}

void CWrappingButton::SetPixelSizeSource(std::function<int()> source)
{
    m_pixelSizeSource = std::move(source);
    update();
}

int CWrappingButton::LabelPixelSize() const
{
    return m_pixelSizeSource ? std::max(m_pixelSizeSource(), 1) : DefaultPixelSize;
}

bool CWrappingButton::LabelFits(int pixelSize) const
{
    QFont labelFont = font();
    labelFont.setPixelSize(pixelSize);
    const QRect box = LabelRect();
    const QRect needed = QFontMetrics(labelFont).boundingRect(
        QRect(QPoint(0, 0), box.size()), Qt::AlignCenter | Qt::TextWordWrap, m_label);
    return needed.width() <= box.width() && needed.height() <= box.height();
}

QRect CWrappingButton::LabelRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    // Narrow buttons need every pixel for "Zurück" at the smallest size.
    const int padding = std::clamp(std::min(width(), height()) / 32, 1, 4);
    return contents.adjusted(padding, padding, -padding, -padding);
}

void CWrappingButton::SetColours(const ThemeColours& colours)
{
    m_colours = &colours;
    update();
}

int CWrappingButton::FocusFrameWidth() const
{
    // Thick enough to be seen at arm's length, thin enough to stay clear of the labels, whose
    // room the frame does not take: a label must not wrap anew when the focus comes.
    return std::clamp(std::min(width(), height()) / 20, 3, 5);
}

bool CWrappingButton::ShowsFocusFrame() const
{
    // As Qt's own styles do it: the frame once the keyboard was used in the window, so that a
    // finger on a touch screen does not leave a frame behind on what it tapped.
    return hasFocus() && window()->testAttribute(Qt::WA_KeyboardFocusChange);
}

void CWrappingButton::paintEvent(QPaintEvent*)
{
    // The face is drawn here rather than by the style: the style gives the focused button the
    // default button's outline, lights a button up under the mouse, and picks colours of its
    // own that the night theme cannot vouch for.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const ThemeColours& colours = *m_colours;
    const bool down = isDown() || isChecked();
    const bool isDefaultButton = isDefault() && isEnabled();
    const QRectF face = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    constexpr double Corner = 2.0;
    if (down)
    {
        painter.setBrush(colours.pressedButtonFace);
    }
    else
    {
        QLinearGradient gradient(face.topLeft(), face.bottomLeft());
        gradient.setColorAt(0.0,
                            isDefaultButton ? colours.defaultButtonFaceTop : colours.buttonFaceTop);
        gradient.setColorAt(1.0, isDefaultButton ? colours.defaultButtonFace : colours.buttonFace);
        painter.setBrush(gradient);
    }
    painter.setPen(QPen(isDefaultButton ? colours.defaultButtonBorder : colours.buttonBorder, 1.0));
    painter.drawRoundedRect(face, Corner, Corner);
    if (ShowsFocusFrame())
    {
        const double frame = FocusFrameWidth();
        painter.setBrush(Qt::NoBrush);
        painter.setPen(
            QPen(colours.focusFrame, frame, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        painter.drawRect(QRectF(rect()).adjusted(frame / 2, frame / 2, -frame / 2, -frame / 2));
    }
    painter.setRenderHint(QPainter::Antialiasing, false);

    QRect labelRect = LabelRect();
    if (down)
    {
        labelRect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, nullptr, this),
                            style()->pixelMetric(QStyle::PM_ButtonShiftVertical, nullptr, this));
    }
    QFont labelFont = font();
    labelFont.setPixelSize(LabelPixelSize());
    painter.setFont(labelFont);
    painter.setPen(isEnabled() ? colours.buttonText
                               : palette().color(QPalette::Disabled, QPalette::ButtonText));
    const QFontMetrics metrics(labelFont);
    const QStringList lines = LabelLines(WithBalancedBreaks(m_label, metrics, labelRect.width()),
                                         labelFont, labelRect.size());
    const int lineHeight = metrics.height();
    int y = labelRect.top() + (labelRect.height() - lineHeight * int(lines.size())) / 2;
    for (const QString& line : lines)
    {
        painter.drawText(QRect(labelRect.left(), y, labelRect.width(), lineHeight),
                         Qt::AlignHCenter | Qt::AlignVCenter, line);
        y += lineHeight;
    }
}
