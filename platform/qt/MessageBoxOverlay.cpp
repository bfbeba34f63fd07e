#include "platform/qt/MessageBoxOverlay.h"

#include "platform/qt/ScrollingText.h"
#include "platform/qt/WrappingButton.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
constexpr int FrameWidth = 2;
// Lines much longer than this read badly, however wide the window.
constexpr int WidestBoxInTextSizes = 24;

// A box opened while another is open (a tick of the stopwatch may bring one) lies on top of
// it; only the top one decides what input gets through.
std::vector<const CMessageBoxOverlay*>& OpenBoxes()
{
    static std::vector<const CMessageBoxOverlay*> boxes;
    return boxes;
}

bool IsInput(QEvent::Type type)
{
    switch (type)
    {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::ContextMenu:
    case QEvent::Gesture:
        return true;
    default:
        return false;
    }
}

QFont WithPixelSize(QFont font, int pixelSize)
{
    font.setPixelSize(std::max(pixelSize, 1));
    return font;
}

} // namespace

CMessageBoxOverlay::CMessageBoxOverlay(QWidget* window, const QString& caption, const QString& text,
                                       MeasuresSource measures)
    : QWidget(window), m_message(text), m_measures(std::move(measures))
{
    setObjectName("MessageBoxOverlay");
    hide();

    auto* box = new QFrame(this);
    box->setFrameStyle(QFrame::Box | QFrame::Plain);
    box->setLineWidth(FrameWidth);
    box->setAutoFillBackground(true);
    m_box = box;

    m_caption = new QLabel(caption, m_box);
    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setAlignment(Qt::AlignCenter);
    m_caption->setAutoFillBackground(true);

    // Wraps at words, breaks only a word wider than the box, and scrolls what does not fit.
    m_view = new CScrollingText(m_box);
    m_view->SetText(m_message);

    auto* ok = new CWrappingButton(m_box);
    ok->SetLabel("OK");
    ok->setText("OK");
    ok->SetPixelSizeSource([this] { return m_measures ? m_measures().buttonPixelSize : 14; });
    m_ok = ok;
    m_ok->setAutoDefault(true);
    m_ok->setDefault(true);
    m_ok->setFocusPolicy(Qt::StrongFocus);
    connect(m_ok, &QPushButton::clicked, this, &CMessageBoxOverlay::OnOk);
    SetColours(ColoursOf(ColourTheme::Day));
}

void CMessageBoxOverlay::SetColours(const ThemeColours& colours)
{
    m_colours = &colours;
    QPalette boxPalette = m_box->palette();
    boxPalette.setColor(QPalette::Window, colours.boxBackground);
    boxPalette.setColor(QPalette::WindowText, colours.boxText);
    boxPalette.setColor(QPalette::Base, colours.boxBackground);
    boxPalette.setColor(QPalette::Text, colours.boxText);
    m_box->setPalette(boxPalette);
    QPalette captionPalette = m_caption->palette();
    captionPalette.setColor(QPalette::Window, colours.captionBackground);
    captionPalette.setColor(QPalette::WindowText, colours.captionText);
    m_caption->setPalette(captionPalette);
    static_cast<CWrappingButton*>(m_ok)->SetColours(colours);
    update();
}

CMessageBoxOverlay::~CMessageBoxOverlay()
{
    StopFiltering();
}

void CMessageBoxOverlay::Open()
{
    Place();
    show();
    raise();
    if (!m_filtering)
    {
        OpenBoxes().push_back(this);
        qApp->installEventFilter(this);
        // A press gives the focus before any filter sees it; it is taken back at once.
        m_focusWatch =
            connect(qApp, &QApplication::focusChanged, this, &CMessageBoxOverlay::OnFocusChanged);
        m_filtering = true;
    }
    m_ok->setFocus(Qt::OtherFocusReason);
}

void CMessageBoxOverlay::Place()
{
    QWidget* window = parentWidget();
    if (window == nullptr)
    {
        return;
    }
    const QSize area = window->size();
    setGeometry(QRect(QPoint(0, 0), area));
    raise();

    const Measures measures = m_measures ? m_measures() : Measures();
    const QFont textFont = WithPixelSize(font(), measures.textPixelSize);
    // No smaller than the text: the floor of the type scale holds here too.
    QFont captionFont = WithPixelSize(font(), measures.textPixelSize);
    captionFont.setBold(true);
    const QFont buttonFont = WithPixelSize(font(), measures.buttonPixelSize);
    m_view->SetTypeSizes(measures.textPixelSize, 2 * measures.textPixelSize);
    m_caption->setFont(captionFont);
    m_ok->setFont(buttonFont);

    const int gap =
        std::max(4, static_cast<int>(std::lround(std::min(area.width(), area.height()) * 0.04)));
    const int padding = std::max(4, measures.textPixelSize / 2);
    const int largestWidth = std::max(area.width() - 2 * gap, 1);
    const int largestHeight = std::max(area.height() - 2 * gap, 1);
    const int boxWidth =
        std::min(largestWidth, std::max(measures.textPixelSize * WidestBoxInTextSizes,
                                        measures.buttonSize.width() + 2 * (padding + FrameWidth)));
    const int innerWidth = std::max(boxWidth - 2 * (padding + FrameWidth), 1);

    const QFontMetrics buttonMetrics(buttonFont);
    QSize okSize(
        std::max(measures.buttonSize.width(), buttonMetrics.horizontalAdvance("OK") + 2 * padding),
        std::max(measures.buttonSize.height(), buttonMetrics.height() + padding));
    okSize.setWidth(std::min(okSize.width(), innerWidth));

    const int captionHeight = QFontMetrics(captionFont).height() + padding;
    const int fixedHeight = 2 * FrameWidth + captionHeight + 3 * padding;
    // In a very low window the button gives way before the text loses its last line.
    const int lineHeight = QFontMetrics(textFont).height();
    okSize.setHeight(
        std::max(std::min(okSize.height(), largestHeight - fixedHeight - lineHeight), 1));
    const int roomForText = std::max(largestHeight - fixedHeight - okSize.height(), 0);
    const int textHeight =
        std::clamp(m_view->HeightForWidth(innerWidth, roomForText), 0, roomForText);
    const int boxHeight = std::min(fixedHeight + textHeight + okSize.height(), area.height());

    m_box->setGeometry((area.width() - boxWidth) / 2, (area.height() - boxHeight) / 2, boxWidth,
                       boxHeight);
    m_caption->setGeometry(FrameWidth, FrameWidth, boxWidth - 2 * FrameWidth, captionHeight);
    const int textTop = FrameWidth + captionHeight + padding;
    m_view->setGeometry(FrameWidth + padding, textTop, innerWidth, textHeight);
    m_ok->setGeometry((boxWidth - okSize.width()) / 2, textTop + textHeight + padding,
                      okSize.width(), okSize.height());
}

QWidget* CMessageBoxOverlay::Box() const
{
    return m_box;
}

QString CMessageBoxOverlay::Caption() const
{
    return m_caption->text();
}

QString CMessageBoxOverlay::Message() const
{
    return m_message;
}

CScrollingText* CMessageBoxOverlay::MessageView() const
{
    return m_view;
}

QPushButton* CMessageBoxOverlay::OkButton() const
{
    return m_ok;
}

bool CMessageBoxOverlay::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsInput(event->type()) || OpenBoxes().empty() || OpenBoxes().back() != this)
    {
        return false;
    }
    // Input reaches a window first and then its widget; the widget decides.
    const auto* widget = qobject_cast<const QWidget*>(watched);
    if (widget == nullptr)
    {
        return false;
    }
    if (event->type() == QEvent::KeyPress)
    {
        // Tab would lead the focus out of the box to the controls beneath.
        const int key = static_cast<const QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab)
        {
            return true;
        }
    }
    return widget != this && !isAncestorOf(widget);
}

void CMessageBoxOverlay::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_colours->dimming);
}

void CMessageBoxOverlay::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
    {
        OnOk();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CMessageBoxOverlay::mousePressEvent(QMouseEvent* event)
{
    // A tap beside the box does nothing; the dialog beneath never sees it.
    event->accept();
}

void CMessageBoxOverlay::OnOk()
{
    StopFiltering();
    hide();
    emit Closed();
}

void CMessageBoxOverlay::OnFocusChanged(QWidget*, QWidget* now)
{
    if (m_filtering && now != nullptr && OpenBoxes().back() == this && !isAncestorOf(now))
    {
        m_ok->setFocus(Qt::OtherFocusReason);
    }
}

void CMessageBoxOverlay::StopFiltering()
{
    if (!m_filtering)
    {
        return;
    }
    qApp->removeEventFilter(this);
    disconnect(m_focusWatch);
    auto& boxes = OpenBoxes();
    boxes.erase(std::remove(boxes.begin(), boxes.end(), this), boxes.end());
    m_filtering = false;
}
