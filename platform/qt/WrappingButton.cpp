#include "platform/qt/WrappingButton.h"

#include "platform/qt/FontFitting.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace
{
constexpr int LabelFlags = Qt::AlignCenter | Qt::TextWordWrap;
constexpr int SmallestPixelSize = 8;
} // namespace

CWrappingButton::CWrappingButton(QWidget* parent) : QPushButton(parent) {}

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

void CWrappingButton::SetLargestPixelSize(int pixelSize)
{
    m_largestPixelSize = std::max(pixelSize, SmallestPixelSize);
    update();
}

int CWrappingButton::LabelPixelSize() const
{
    return FittingPixelSize(font(), m_label, LabelRect().size(), LabelFlags, m_largestPixelSize,
                            SmallestPixelSize);
}

QRect CWrappingButton::LabelRect() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int padding = std::clamp(std::min(width(), height()) / 16, 1, 6);
    return contents.adjusted(padding, padding, -padding, -padding);
}

void CWrappingButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    // The style draws the frame, the pressed and the focus look; the label is ours.
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    QRect labelRect = LabelRect();
    if (option.state & (QStyle::State_Sunken | QStyle::State_On))
    {
        labelRect.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                            style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
    }
    QFont labelFont = font();
    labelFont.setPixelSize(LabelPixelSize());
    painter.setFont(labelFont);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(labelRect, LabelFlags, m_label);
}
