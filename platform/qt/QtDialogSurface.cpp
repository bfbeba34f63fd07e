#include "platform/qt/QtDialogSurface.h"

#include "platform/ControlId.h"
#include "platform/Resources.h"
#include "platform/qt/MessageBoxOverlay.h"
#include "platform/qt/PictureLabel.h"
#include "platform/qt/QtDialogWindow.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/ReadingOrder.h"
#include "platform/qt/ScrollingText.h"
#include "platform/qt/WrappingButton.h"

#include <QApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
// A scroll bar that a fingertip can hold, in body text sizes.
constexpr double ScrollBarOverBody = 2.0;

// Picture pixels are pixels of the 240 x 320 portrait screen the layout was made for.
constexpr double PictureScreenWidth = 240.0;
constexpr double PictureScreenHeight = 320.0;

// The platform's timers do not fire more often than this.
constexpr int ShortestTimerPeriod = 10;

constexpr QSize DefaultWindowSize(480, 640);
constexpr QSize SmallestWindowSize(100, 100);

int Round(double value)
{
    return static_cast<int>(std::lround(value));
}

QString DisplayText(const Text& text)
{
    return QString::fromStdString(MakeDisplayable(text));
}

} // namespace

CQtDialogSurface::CQtDialogSurface(IPictureDecoder& decoder, QString applicationName,
                                   WindowMode windowMode, QSize initialSize, CTapGuard tapGuard)
    : m_decoder(decoder), m_applicationName(std::move(applicationName)), m_windowMode(windowMode),
      m_initialSize(initialSize.isValid() && !initialSize.isEmpty() ? initialSize
                                                                    : DefaultWindowSize),
      m_tapGuard(std::move(tapGuard))
{
}

CQtDialogSurface::~CQtDialogSurface()
{
    DestroyWindow();
}

void CQtDialogSurface::DestroyWindow()
{
    for (auto& [id, timer] : m_timers)
    {
        timer->stop();
    }
    m_sink = nullptr;
    m_keyInput.reset();
    m_controls.clear();
    m_pendingMoves.clear();
    m_batchOpen = false;
    m_window.reset();
}

DialogResult CQtDialogSurface::RunModal()
{
    if (!m_window || m_loop != nullptr)
    {
        return DialogResult::Cancel;
    }
    // The dialog may have ended already while it was being initialised.
    if (!m_endRequested)
    {
        ShowWindow();
        QEventLoop loop;
        m_loop = &loop;
        loop.exec();
        m_loop = nullptr;
        m_window->hide();
    }
    for (auto& [id, timer] : m_timers)
    {
        timer->stop();
    }
    m_endRequested = false;
    return m_result;
}

void CQtDialogSurface::ShowWindow()
{
    if (m_windowMode == FullScreen)
    {
        m_window->showFullScreen();
    }
    else
    {
        m_window->show();
    }
}

bool CQtDialogSurface::CreateFromTemplate(std::span<const std::uint8_t> templateBytes,
                                          IDialogMessageSink& sink)
{
    DestroyWindow();
    const std::optional<DialogTemplate> parsed = ReadDialogTemplate(templateBytes);
    if (!parsed || parsed->width <= 0 || parsed->height <= 0)
    {
        return false;
    }
    m_templateWidth = parsed->width;
    m_templateHeight = parsed->height;

    m_window = std::make_unique<CQtDialogWindow>();
    m_window->setWindowTitle(parsed->caption.isNumber ? m_applicationName
                                                      : DisplayText(parsed->caption.text));
    m_window->setPalette(PaletteOf(m_theme));
    m_window->setAutoFillBackground(true);
    m_window->setMinimumSize(SmallestWindowSize);
    // A window manager that does not honour full screen would still draw its frame.
    if (m_windowMode == FullScreen)
        m_window->setWindowFlag(Qt::FramelessWindowHint);
    QSize size = m_initialSize;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (m_windowMode == FullScreen && screen != nullptr)
    {
        size = screen->size();
    }
    m_window->resize(size.expandedTo(SmallestWindowSize));
    connect(m_window.get(), &CQtDialogWindow::Resized, this, &CQtDialogSurface::OnWindowResized);
    connect(m_window.get(), &CQtDialogWindow::CloseRequested, this,
            &CQtDialogSurface::OnCloseRequested);

    m_controls.reserve(parsed->items.size());
    for (const DialogItemTemplate& item : parsed->items)
    {
        CreateControl(item);
    }
    PlaceControls();
    m_keyInput = std::make_unique<CKeyInput>(
        m_window.get(), [this](const KeyCommand& command) { return OnKeyCommand(command); },
        [this] { return m_openMessageBoxes > 0; });

    m_sink = &sink;
    m_endRequested = false;
    // Qt gives the focus to the first control that takes it when the window is shown, which
    // is what the answer would ask for; nothing more to do with it.
    sink.OnDialogInit();
    return true;
}

void CQtDialogSurface::CreateControl(const DialogItemTemplate& item)
{
    Control control;
    control.id = item.id;
    control.unitPlace = QRectF(item.x, item.y, item.width, item.height);
    if (!item.title.isNumber)
    {
        control.text = DisplayText(item.title.text);
    }
    const bool visible = (item.style & TemplateStyle::Visible) != 0;
    QWidget* window = m_window.get();
    const int id = control.id;

    const std::uint16_t windowClass = item.windowClass.isNumber ? item.windowClass.number : 0;
    if (windowClass == TemplateClass::Button)
    {
        auto* button = new CWrappingButton(window);
        button->SetLabel(control.text);
        button->SetPixelSizeSource([this] { return ButtonPixelSize(); });
        button->setDefault((item.style & 0xF) == TemplateStyle::DefaultButton);
        button->SetColours(ColoursOf(m_theme));
        connect(button, &QPushButton::clicked, this,
                [this, id] {
                    Deliver({MessageKind::Click, id, 0});
                });
        control.kind = ControlKind::Button;
        control.widget = button;
    }
    else if (windowClass == TemplateClass::Static)
    {
        const std::uint32_t type = item.style & TemplateStyle::StaticTypeMask;
        if (type == TemplateStyle::StaticBitmap || type == TemplateStyle::StaticIcon)
        {
            const TapReport report = (item.style & TemplateStyle::StaticNotify) != 0
                                         ? TapReport::Report
                                         : TapReport::Ignore;
            auto* picture = new CPictureLabel(window, report);
            connect(picture, &CPictureLabel::Tapped, this,
                    [this, id] {
                        Deliver({MessageKind::Click, id, 0});
                    });
            control.kind = ControlKind::Picture;
            control.widget = picture;
        }
        else
        {
            auto* label = new CScrollingText(window);
            Qt::Alignment alignment = Qt::AlignLeft;
            if (type == TemplateStyle::StaticCentre)
            {
                alignment = Qt::AlignHCenter;
            }
            else if (type == 0x2) // SS_RIGHT
            {
                alignment = Qt::AlignRight;
            }
            label->SetAlignment(alignment);
            label->SetText(control.text);
            control.kind = ControlKind::Label;
            control.widget = label;
        }
    }
    else if (windowClass == TemplateClass::ListBox)
    {
        auto* list = new QListWidget(window);
        control.kind = ControlKind::ListBox;
        control.widget = list;
    }
    else
    {
        control.kind = ControlKind::Other;
        control.widget = new QWidget(window);
    }
    // The list box only holds the line store and is never shown.
    control.widget->setVisible(visible && control.kind != ControlKind::ListBox);
    m_controls.push_back(std::move(control));
}

CQtDialogSurface::Control* CQtDialogSurface::FindControl(int controlId)
{
    auto found = std::find_if(m_controls.begin(), m_controls.end(),
                              [controlId](const Control& c) { return c.id == controlId; });
    return found == m_controls.end() ? nullptr : &*found;
}

const CQtDialogSurface::Control* CQtDialogSurface::FindControl(int controlId) const
{
    auto found = std::find_if(m_controls.begin(), m_controls.end(),
                              [controlId](const Control& c) { return c.id == controlId; });
    return found == m_controls.end() ? nullptr : &*found;
}

bool CQtDialogSurface::HasControl(int controlId) const
{
    return FindControl(controlId) != nullptr;
}

void CQtDialogSurface::SetControlText(int controlId, const Text& text)
{
    Control* control = FindControl(controlId);
    if (control == nullptr)
    {
        return;
    }
    QString shown = DisplayText(text);
    if (shown != control->text)
    {
        ++m_controlChanges;
    }
    control->text = std::move(shown);
    if (control->kind == ControlKind::Button)
    {
        static_cast<CWrappingButton*>(control->widget)->SetLabel(control->text);
        m_buttonSizeValid = false;
    }
    else if (control->kind == ControlKind::Label)
    {
        static_cast<CScrollingText*>(control->widget)->SetText(control->text);
    }
}

Text CQtDialogSurface::GetControlText(int controlId) const
{
    const Control* control = FindControl(controlId);
    return control == nullptr ? Text() : control->text.toStdString();
}

void CQtDialogSurface::ShowControl(int controlId, Visibility visibility)
{
    Control* control = FindControl(controlId);
    if (control == nullptr || control->kind == ControlKind::ListBox)
    {
        return;
    }
    const bool visible = visibility == Visibility::Shown;
    if (control->widget->isHidden() == visible)
    {
        ++m_controlChanges;
    }
    if (control->kind == ControlKind::Button)
    {
        m_buttonSizeValid = false;
    }
    control->widget->setVisible(visible);
}

void CQtDialogSurface::SetControlPicture(int controlId, PictureHandle picture)
{
    Control* control = FindControl(controlId);
    if (control == nullptr || control->kind != ControlKind::Picture)
    {
        return;
    }
    if (control->picture != picture)
    {
        ++m_controlChanges;
    }
    control->picture = std::move(picture);
    PlaceControl(*control);
}

bool CQtDialogSurface::SetControlImageResource(int controlId, ImageResourceKind kind,
                                               int resourceId)
{
    // The program has icons among its resources, but no bitmaps.
    Control* control = FindControl(controlId);
    const std::span<const std::uint8_t> bytes = FindResource(ResourceType::Icon, resourceId);
    QImage image;
    if (control == nullptr || control->kind != ControlKind::Picture ||
        kind != ImageResourceKind::Icon || bytes.empty() ||
        !image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "XPM"))
        return false;
    control->picture = std::make_shared<CQtPicture>(std::move(image), Text{});
    PlaceControl(*control);
    return true;
}

PictureHandle CQtDialogSurface::LoadPicture(const Text& path)
{
    return m_decoder.Load(path);
}

PictureHandle CQtDialogSurface::StretchPicture(const PictureHandle& source, int width, int height)
{
    return m_decoder.Stretch(source, width, height);
}

int CQtDialogSurface::LoadIcon(int resourceId)
{
    const std::span<const std::uint8_t> bytes = FindResource(ResourceType::Icon, resourceId);
    if (bytes.empty() || bytes.size() > std::numeric_limits<int>::max())
    {
        return 0;
    }
    QPixmap pixmap;
    if (!pixmap.loadFromData(bytes.data(), static_cast<uint>(bytes.size()), "XPM"))
    {
        return 0;
    }
    m_icons.emplace_back(pixmap);
    return static_cast<int>(m_icons.size());
}

void CQtDialogSurface::SetIcon(IconSize, int icon)
{
    // Qt picks the size it needs from one icon, so big and small are the same call.
    if (m_window && icon >= 1 && icon <= static_cast<int>(m_icons.size()))
    {
        m_window->setWindowIcon(m_icons[static_cast<std::size_t>(icon - 1)]);
    }
}

void CQtDialogSurface::ShowMessageBox(const Text& text)
{
    // Without a dialog there is no window to show the box in.
    if (!m_window)
    {
        return;
    }
    // The box lies inside the window: a box of a window not yet shown could never be answered.
    if (!m_window->isVisible())
    {
        ShowWindow();
    }
    const QPointer<QWidget> focusedBefore = m_window->focusWidget();
    const auto measures = [this]
    {
        return CMessageBoxOverlay::Measures{BodyPixelSize(), ButtonPixelSize(),
                                            MessageBoxButtonSize()};
    };
    const QPointer<CMessageBoxOverlay> box =
        new CMessageBoxOverlay(m_window.get(), m_applicationName, DisplayText(text), measures);
    box->SetColours(ColoursOf(m_theme));
    // Connected after the window's own resize handling, so the box sees the buttons' new size.
    connect(m_window.get(), &CQtDialogWindow::Resized, box, &CMessageBoxOverlay::Place);
    QEventLoop loop;
    connect(box, &CMessageBoxOverlay::Closed, &loop, &QEventLoop::quit);
    connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
    ++m_openMessageBoxes;
    box->Open();
    m_window->activateWindow();
    // The timers go on ticking in this loop: the stopwatch keeps counting while the box is up.
    loop.exec();
    --m_openMessageBoxes;
    ++m_closedMessageBoxes;
    delete box.data();
    // The screen beneath is new to the eye again; a second tap meant for OK must not reach it.
    m_tapGuard.OnScreenChanged();
    RestoreFocus(focusedBefore);
}

QSize CQtDialogSurface::MessageBoxButtonSize() const
{
    QSize size(0, 0);
    for (const int id : {ControlId::LeftButton, ControlId::RightButton})
    {
        if (const Control* control = FindControl(id))
        {
            size = size.expandedTo(control->widget->size());
        }
    }
    return size;
}

void CQtDialogSurface::RestoreFocus(QWidget* focusedBefore)
{
    if (!m_window || !m_window->isVisible())
    {
        return;
    }
    if (focusedBefore != nullptr && focusedBefore->isVisible() &&
        m_window->isAncestorOf(focusedBefore))
    {
        focusedBefore->setFocus(Qt::OtherFocusReason);
        return;
    }
    FocusDefaultButton();
}

void CQtDialogSurface::FocusDefaultButton()
{
    // Enter then presses what the screen offers first: its centre button, else the first shown.
    const Control* centre = FindControl(ControlId::CentreButton);
    if (centre != nullptr && centre->widget->isVisible())
    {
        centre->widget->setFocus(Qt::OtherFocusReason);
        return;
    }
    for (const Control& control : m_controls)
    {
        if (control.kind == ControlKind::Button && control.widget->isVisible())
        {
            control.widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

void CQtDialogSurface::StartTimer(int timerId, int periodMilliseconds)
{
    QTimer*& timer = m_timers[timerId];
    if (timer == nullptr)
    {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this,
                [this, timerId] {
                    Deliver({MessageKind::Timer, 0, timerId});
                });
    }
    timer->start(std::max(periodMilliseconds, ShortestTimerPeriod));
}

void CQtDialogSurface::StopTimer(int timerId)
{
    const auto found = m_timers.find(timerId);
    if (found != m_timers.end())
    {
        found->second->stop();
    }
}

Size CQtDialogSurface::GetScreenSize() const
{
    if (!m_window)
    {
        return {m_initialSize.width(), m_initialSize.height()};
    }
    return {m_window->width(), m_window->height()};
}

void CQtDialogSurface::SetUpFullScreen()
{
    // The window already fills the screen, or the size it was given: the layout fills the
    // window whatever its size, so there is nothing to change here.
}

std::optional<Rect> CQtDialogSurface::MapDialogRect(const Rect& dialogUnits) const
{
    if (!m_window)
    {
        return std::nullopt;
    }
    const QRect pixels =
        UnitsToPixels(QRectF(dialogUnits.x, dialogUnits.y, dialogUnits.width, dialogUnits.height));
    return Rect{pixels.x(), pixels.y(), pixels.width(), pixels.height()};
}

bool CQtDialogSurface::BeginDeferredMoves(int expectedCount)
{
    m_pendingMoves.clear();
    m_batchOpen = m_window != nullptr && expectedCount >= 0;
    if (m_batchOpen)
    {
        m_pendingMoves.reserve(static_cast<std::size_t>(expectedCount));
    }
    return m_batchOpen;
}

bool CQtDialogSurface::DeferControlMove(int controlId, const Rect& pixels)
{
    if (!m_batchOpen || !HasControl(controlId))
    {
        return false;
    }
    m_pendingMoves.push_back({controlId, pixels});
    return true;
}

bool CQtDialogSurface::EndDeferredMoves()
{
    if (!m_batchOpen)
    {
        return false;
    }
    m_batchOpen = false;
    // Kept in units, so that the next resize scales these places too.
    const double xScale = XScale();
    const double yScale = YScale();
    for (const PendingMove& move : m_pendingMoves)
    {
        Control* control = FindControl(move.controlId);
        if (control == nullptr)
        {
            continue;
        }
        control->unitPlace = QRectF(move.pixels.x / xScale, move.pixels.y / yScale,
                                    std::max(move.pixels.width, 0) / xScale,
                                    std::max(move.pixels.height, 0) / yScale);
        PlaceControl(*control);
    }
    m_pendingMoves.clear();
    OrderFocus();
    return true;
}

void CQtDialogSurface::EndDialog(DialogResult result)
{
    m_result = result;
    m_endRequested = true;
    if (m_loop != nullptr)
    {
        m_loop->exit();
    }
}

QWidget* CQtDialogSurface::DialogWindow() const
{
    return m_window.get();
}

QWidget* CQtDialogSurface::ControlWidget(int controlId) const
{
    const Control* control = FindControl(controlId);
    return control == nullptr ? nullptr : control->widget;
}

int CQtDialogSurface::BodyPixelSize() const
{
    return m_typeScale.body;
}

int CQtDialogSurface::ButtonPixelSize() const
{
    if (m_buttonSizeValid)
    {
        return m_buttonPixelSize;
    }
    // The largest size at which every shown label fits; labels that fit at none keep the
    // body size and wrap inside their words.
    const int previous = m_buttonPixelSize;
    int size = m_typeScale.buttonLargest;
    for (; size > m_typeScale.body; --size)
    {
        const bool allFit = std::all_of(
            m_controls.begin(), m_controls.end(),
            [size](const Control& control)
            {
                return control.kind != ControlKind::Button || control.widget->isHidden() ||
                       static_cast<const CWrappingButton*>(control.widget)->LabelFits(size);
            });
        if (allFit)
        {
            break;
        }
    }
    m_buttonPixelSize = size;
    m_buttonSizeValid = true;
    if (size != previous)
    {
        for (const Control& control : m_controls)
        {
            if (control.kind == ControlKind::Button)
            {
                control.widget->update();
            }
        }
    }
    return m_buttonPixelSize;
}

const TypeScale& CQtDialogSurface::CurrentTypeScale() const
{
    return m_typeScale;
}

std::uint64_t CQtDialogSurface::ControlChanges() const
{
    return m_controlChanges;
}

double CQtDialogSurface::XScale() const
{
    const Size screen = GetScreenSize();
    return m_templateWidth > 0 ? static_cast<double>(screen.width) / m_templateWidth : 1.0;
}

double CQtDialogSurface::YScale() const
{
    const Size screen = GetScreenSize();
    return m_templateHeight > 0 ? static_cast<double>(screen.height) / m_templateHeight : 1.0;
}

double CQtDialogSurface::PictureScale() const
{
    // By the width alone, a window wider than the portrait screen would cut the picture off
    // at its bottom; the smaller of the two keeps it whole and equals it in portrait.
    const Size screen = GetScreenSize();
    return std::min(screen.width / PictureScreenWidth, screen.height / PictureScreenHeight);
}

QRect CQtDialogSurface::UnitsToPixels(const QRectF& units) const
{
    // Edges are rounded, not sizes, so that neighbouring controls stay neighbours.
    const double xScale = XScale();
    const double yScale = YScale();
    const int left = Round(units.left() * xScale);
    const int top = Round(units.top() * yScale);
    const int right = Round((units.left() + units.width()) * xScale);
    const int bottom = Round((units.top() + units.height()) * yScale);
    return QRect(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
}

void CQtDialogSurface::PlaceControls()
{
    int headingHeight = UnitsToPixels(QRectF(0, 0, 1, 8)).height();
    if (const Control* heading = FindControl(ControlId::Heading))
    {
        headingHeight = UnitsToPixels(heading->unitPlace).height();
    }
    m_typeScale = ComputeTypeScale(m_window->size(), headingHeight, m_window->font());
    m_buttonSizeValid = false;
    for (Control& control : m_controls)
    {
        PlaceControl(control);
    }
    OrderFocus();
}

void CQtDialogSurface::OrderFocus()
{
    std::vector<QWidget*> buttons;
    for (const Control& control : m_controls)
    {
        if (control.kind == ControlKind::Button)
            buttons.push_back(control.widget);
    }
    SetReadingFocusOrder(buttons);
}

void CQtDialogSurface::SetTheme(ColourTheme theme)
{
    m_theme = theme;
    if (!m_window)
        return;
    m_window->setPalette(PaletteOf(theme));
    for (const Control& control : m_controls)
    {
        if (control.kind == ControlKind::Button)
            static_cast<CWrappingButton*>(control.widget)->SetColours(ColoursOf(theme));
    }
    for (CMessageBoxOverlay* box : m_window->findChildren<CMessageBoxOverlay*>())
        box->SetColours(ColoursOf(theme));
}

ColourTheme CQtDialogSurface::Theme() const
{
    return m_theme;
}

KeyUse CQtDialogSurface::OnKeyCommand(const KeyCommand& command)
{
    if (command.kind == KeyCommand::SwitchTheme)
    {
        SetTheme(OtherTheme(m_theme));
        return KeyUse::Used;
    }
    Control* control = FindControl(command.controlId);
    const bool shown =
        control != nullptr && control->widget->isVisible() && control->widget->isEnabled();
    // The key goes the way of a tap on the control, through the bounce guard.
    if (control != nullptr && control->kind == ControlKind::Picture)
    {
        auto* picture = static_cast<CPictureLabel*>(control->widget);
        // Without a picture, Space is the focused button's own key again.
        if (!shown || picture->Image().isNull())
            return KeyUse::PassedOn;
        picture->Tap();
        return KeyUse::Used;
    }
    if (shown && control->kind == ControlKind::Button)
        static_cast<CWrappingButton*>(control->widget)->click();
    return KeyUse::Used;
}

void CQtDialogSurface::PlaceControl(Control& control)
{
    QRect place = UnitsToPixels(control.unitPlace);
    switch (control.kind)
    {
    case ControlKind::Picture:
    {
        // The frame is the picture's size in the layout's pixels, at the control's place; the
        // picture is drawn whole inside the part of it that lies in the window.
        auto* label = static_cast<CPictureLabel*>(control.widget);
        const auto* picture = dynamic_cast<const CQtPicture*>(control.picture.get());
        if (picture == nullptr || picture->Image().isNull())
        {
            label->SetImage(QImage());
            break;
        }
        const double scale = PictureScale();
        const QSize frame(std::max(Round(picture->Width() * scale), 1),
                          std::max(Round(picture->Height() * scale), 1));
        const Size screen = GetScreenSize();
        place.setSize(frame.boundedTo(
            QSize(std::max(screen.width - place.x(), 0), std::max(screen.height - place.y(), 0))));
        label->SetImage(picture->Image());
        break;
    }
    case ControlKind::Label:
    {
        auto* label = static_cast<CScrollingText*>(control.widget);
        int size = m_typeScale.body;
        if (control.id == ControlId::Heading)
        {
            size = m_typeScale.heading;
        }
        else if (control.id == ControlId::SubHeading)
        {
            size = m_typeScale.subHeading;
        }
        label->SetTypeSizes(size, Round(m_typeScale.body * ScrollBarOverBody));
        place.setBottom(std::max(place.bottom(), FreeSpaceBelow(control) - 1));
        break;
    }
    default:
        break;
    }
    control.widget->setGeometry(place);
}

int CQtDialogSurface::FreeSpaceBelow(const Control& label) const
{
    // A text may use the empty strip below its box, up to the next control under it: a
    // heading of a window turned wide then keeps its accents and descenders.
    const QRect place = UnitsToPixels(label.unitPlace);
    int limit = GetScreenSize().height;
    for (const Control& other : m_controls)
    {
        if (&other == &label || other.kind == ControlKind::ListBox ||
            other.kind == ControlKind::Picture)
        {
            continue;
        }
        const QRect below = UnitsToPixels(other.unitPlace);
        const bool overlapsAcross = below.left() <= place.right() && below.right() >= place.left();
        if (overlapsAcross && below.top() > place.bottom())
        {
            limit = std::min(limit, below.top());
        }
    }
    return limit;
}

void CQtDialogSurface::OnWindowResized()
{
    PlaceControls();
    Deliver({MessageKind::SizeChanged, 0, 0});
}

void CQtDialogSurface::OnCloseRequested()
{
    // An open message box is answered first; the dialog is in the middle of a message.
    if (m_openMessageBoxes > 0)
    {
        return;
    }
    Deliver({MessageKind::Close, 0, 0});
}

void CQtDialogSurface::Deliver(const DialogMessage& message)
{
    // Once the dialog has ended, nothing more reaches it.
    if (m_sink == nullptr || m_endRequested)
    {
        return;
    }
    // A click beneath an open box would run the dialog inside the message that opened it.
    if (message.kind == MessageKind::Click &&
        (m_openMessageBoxes > 0 || m_tapGuard.OnTap() == TapVerdict::Drop))
    {
        return;
    }
    const std::uint64_t changesBefore = m_controlChanges;
    const std::uint64_t closedBefore = m_closedMessageBoxes;
    m_sink->OnMessage(message);
    // The stopwatch rewrites the heading every second; that is no new screen to tap on.
    if (message.kind != MessageKind::Timer && m_controlChanges != changesBefore)
    {
        m_tapGuard.OnScreenChanged();
    }
    // A box closed on the way gave the focus back before this message hid what had it, and Qt
    // may have passed it on to a text; Enter should press a button.
    if (m_closedMessageBoxes != closedBefore && m_openMessageBoxes == 0 && m_window &&
        m_window->isVisible())
    {
        const QWidget* focused = m_window->focusWidget();
        const auto isFocused = [focused](const Control& control)
        { return control.kind == ControlKind::Button && control.widget == focused; };
        const bool onShownButton = focused != nullptr && focused->isVisible() &&
                                   std::any_of(m_controls.begin(), m_controls.end(), isFocused);
        if (!onShownButton)
        {
            FocusDefaultButton();
        }
    }
}
