#include "platform/headless/HeadlessSurface.h"

#include "platform/DialogTemplate.h"
#include "platform/Resources.h"

#include <utility>

CHeadlessSurface::CHeadlessSurface(IPictureDecoder* decoder, Size screen)
    : m_decoder(decoder), m_screen(screen)
{
}

bool CHeadlessSurface::CreateFromTemplate(std::span<const std::uint8_t> templateBytes,
                                          IDialogMessageSink& sink)
{
    const auto parsed = ReadDialogTemplate(templateBytes);
    if (!parsed)
        return false;
    m_controls.clear();
    for (const auto& item : parsed->items)
    {
        HeadlessControl control;
        control.windowClass = item.windowClass.isNumber ? item.windowClass.number : 0;
        control.text = item.title.isNumber ? Text{} : item.title.text;
        control.visibility =
            (item.style & TemplateStyle::Visible) ? Visibility::Shown : Visibility::Hidden;
        control.place = {item.x, item.y, item.width, item.height};
        m_controls[item.id] = std::move(control);
    }
    m_sink = &sink;
    sink.OnDialogInit();
    return true;
}

void CHeadlessSurface::Deliver(const DialogMessage& message)
{
    if (m_sink != nullptr && !m_result)
        m_sink->OnMessage(message);
}

void CHeadlessSurface::Click(int controlId)
{
    Deliver({MessageKind::Click, controlId, 0});
}

bool CHeadlessSurface::Tick()
{
    if (m_runningTimers.empty() || m_result)
        return false;
    Deliver({MessageKind::Timer, 0, *m_runningTimers.begin()});
    return true;
}

void CHeadlessSurface::Resize(Size screen)
{
    if (m_result)
        return;
    m_screen = screen;
    Deliver({MessageKind::SizeChanged, 0, 0});
}

void CHeadlessSurface::Close()
{
    Deliver({MessageKind::Close, 0, 0});
}

std::vector<Text> CHeadlessSurface::TakeMessages()
{
    return std::exchange(m_messages, {});
}

void CHeadlessSurface::SetMessageBoxHandler(MessageBoxHandler handler)
{
    m_messageBoxHandler = std::move(handler);
}

HeadlessControl* CHeadlessSurface::Find(int controlId)
{
    const auto found = m_controls.find(controlId);
    return found == m_controls.end() ? nullptr : &found->second;
}

bool CHeadlessSurface::HasControl(int controlId) const
{
    return m_controls.contains(controlId);
}

void CHeadlessSurface::SetControlText(int controlId, const Text& text)
{
    if (auto* control = Find(controlId))
        control->text = text;
}

Text CHeadlessSurface::GetControlText(int controlId) const
{
    const auto found = m_controls.find(controlId);
    return found == m_controls.end() ? Text{} : found->second.text;
}

void CHeadlessSurface::ShowControl(int controlId, Visibility visibility)
{
    if (auto* control = Find(controlId))
        control->visibility = visibility;
}

void CHeadlessSurface::SetControlPicture(int controlId, PictureHandle picture)
{
    if (auto* control = Find(controlId))
        control->picture = std::move(picture);
}

bool CHeadlessSurface::SetControlImageResource(int controlId, ImageResourceKind kind,
                                               int resourceId)
{
    // The program has icons among its resources, but no bitmaps.
    auto* control = Find(controlId);
    if (control == nullptr || kind != ImageResourceKind::Icon ||
        FindResource(ResourceType::Icon, resourceId).empty())
        return false;
    control->imageResource = resourceId;
    return true;
}

PictureHandle CHeadlessSurface::LoadPicture(const Text& path)
{
    return m_decoder != nullptr ? m_decoder->Load(path) : nullptr;
}

PictureHandle CHeadlessSurface::StretchPicture(const PictureHandle& source, int width, int height)
{
    return m_decoder != nullptr && source ? m_decoder->Stretch(source, width, height) : nullptr;
}

int CHeadlessSurface::LoadIcon(int resourceId)
{
    return FindResource(ResourceType::Icon, resourceId).empty() ? 0 : resourceId;
}

void CHeadlessSurface::SetIcon(IconSize, int) {}

void CHeadlessSurface::ShowMessageBox(const Text& text)
{
    m_messages.push_back(text);
    if (m_messageBoxHandler)
        m_messageBoxHandler(text);
}

void CHeadlessSurface::StartTimer(int timerId, int)
{
    m_runningTimers.insert(timerId);
    ++m_timerStarts;
}

void CHeadlessSurface::StopTimer(int timerId)
{
    m_runningTimers.erase(timerId);
}

std::optional<Rect> CHeadlessSurface::MapDialogRect(const Rect& dialogUnits) const
{
    return dialogUnits;
}

bool CHeadlessSurface::BeginDeferredMoves(int expectedCount)
{
    if (expectedCount < 0)
        return false;
    m_pendingMoves.emplace();
    m_pendingMoves->reserve(static_cast<std::size_t>(expectedCount));
    return true;
}

bool CHeadlessSurface::DeferControlMove(int controlId, const Rect& pixels)
{
    if (!m_pendingMoves || !HasControl(controlId))
        return false;
    m_pendingMoves->emplace_back(controlId, pixels);
    return true;
}

bool CHeadlessSurface::EndDeferredMoves()
{
    if (!m_pendingMoves)
        return false;
    for (const auto& [controlId, place] : *m_pendingMoves)
        m_controls[controlId].place = place;
    m_pendingMoves.reset();
    return true;
}

void CHeadlessSurface::EndDialog(DialogResult result)
{
    if (!m_result)
        m_result = result;
}
