#include "platform/qt/AnnouncingSurface.h"

#include "platform/ControlId.h"
#include "platform/qt/QtDialogSurface.h"

#include <QWidget>

CAnnouncingSurface::CAnnouncingSurface(CQtDialogSurface& window, ISpeaker* speaker,
                                       Text ranOutPhrase)
    : m_window(window), m_speaker(speaker), m_ranOutPhrase(std::move(ranOutPhrase))
{
}

void CAnnouncingSurface::SetScreenKindSource(std::function<SpokenScreen()> source)
{
    m_screenKind = std::move(source);
}

CHeadingFlash& CAnnouncingSurface::Flash()
{
    return m_flash;
}

bool CAnnouncingSurface::CreateFromTemplate(std::span<const std::uint8_t> templateBytes,
                                            IDialogMessageSink& sink)
{
    m_flash.Stop();
    m_sink = &sink;
    return m_window.CreateFromTemplate(templateBytes, *this);
}

bool CAnnouncingSurface::OnDialogInit()
{
    return m_sink->OnDialogInit();
}

void CAnnouncingSurface::OnMessage(const DialogMessage& message)
{
    // A tap shows that the driver is looking again.
    if (message.kind == MessageKind::Click)
        m_flash.Stop();
    // Kept for the message around this one: a tick can arrive while a box of a tap is open.
    const int outerTimer = m_tickingTimer;
    const bool outerStopped = m_tickingTimerStopped;
    const bool outerBodyChanged = m_bodyChanged;
    m_tickingTimer = message.kind == MessageKind::Timer ? message.timerId : 0;
    m_tickingTimerStopped = false;
    m_bodyChanged = false;

    m_sink->OnMessage(message);

    // A timer that the dialog stops in its own tick has run out; stopped elsewhere, it was
    // cancelled. Only the stopwatch runs on the dialog's timer.
    if (m_tickingTimer != 0 && m_tickingTimerStopped)
    {
        m_flash.Start(m_window.ControlWidget(ControlId::Heading));
        if (m_speaker != nullptr)
            m_speaker->Speak(m_ranOutPhrase);
    }
    // A change of size builds the same screen again; only a tap leads to a new one.
    if (message.kind == MessageKind::Click && m_bodyChanged)
        ReadScreen();

    m_tickingTimer = outerTimer;
    m_tickingTimerStopped = outerStopped;
    m_bodyChanged = outerBodyChanged;
}

bool CAnnouncingSurface::IsShown(int controlId) const
{
    const QWidget* widget = m_window.ControlWidget(controlId);
    return widget != nullptr && !widget->isHidden();
}

void CAnnouncingSurface::ReadScreen()
{
    if (m_speaker == nullptr || !m_screenKind || !IsShown(ControlId::BodyText))
        return;
    const SpokenScreen kind = m_screenKind();
    if (kind == SpokenScreen::Other)
        return;
    Text spoken = m_window.GetControlText(ControlId::BodyText);
    if (kind == SpokenScreen::Question)
    {
        for (const int answer : {ControlId::CentreButton, ControlId::RightButton})
        {
            if (IsShown(answer))
                spoken += "\n" + m_window.GetControlText(answer);
        }
    }
    m_speaker->Speak(spoken);
}

bool CAnnouncingSurface::HasControl(int controlId) const
{
    return m_window.HasControl(controlId);
}

void CAnnouncingSurface::SetControlText(int controlId, const Text& text)
{
    if (controlId == ControlId::BodyText)
        m_bodyChanged = true;
    m_window.SetControlText(controlId, text);
}

Text CAnnouncingSurface::GetControlText(int controlId) const
{
    return m_window.GetControlText(controlId);
}

void CAnnouncingSurface::ShowControl(int controlId, Visibility visibility)
{
    if (controlId == ControlId::BodyText && visibility == Visibility::Shown)
        m_bodyChanged = true;
    m_window.ShowControl(controlId, visibility);
}

void CAnnouncingSurface::SetControlPicture(int controlId, PictureHandle picture)
{
    m_window.SetControlPicture(controlId, std::move(picture));
}

PictureHandle CAnnouncingSurface::LoadPicture(const Text& path)
{
    return m_window.LoadPicture(path);
}

PictureHandle CAnnouncingSurface::StretchPicture(const PictureHandle& source, int width, int height)
{
    return m_window.StretchPicture(source, width, height);
}

bool CAnnouncingSurface::SetControlImageResource(int controlId, ImageResourceKind kind,
                                                 int resourceId)
{
    return m_window.SetControlImageResource(controlId, kind, resourceId);
}

int CAnnouncingSurface::LoadIcon(int resourceId)
{
    return m_window.LoadIcon(resourceId);
}

void CAnnouncingSurface::SetIcon(IconSize size, int icon)
{
    m_window.SetIcon(size, icon);
}

void CAnnouncingSurface::ShowMessageBox(const Text& text)
{
    // Said as the box opens: the call returns only once it is closed.
    if (m_speaker != nullptr && m_window.DialogWindow() != nullptr)
        m_speaker->Speak(MakeDisplayable(text));
    m_window.ShowMessageBox(text);
}

void CAnnouncingSurface::StartTimer(int timerId, int periodMilliseconds)
{
    m_window.StartTimer(timerId, periodMilliseconds);
}

void CAnnouncingSurface::StopTimer(int timerId)
{
    if (timerId == m_tickingTimer)
        m_tickingTimerStopped = true;
    m_window.StopTimer(timerId);
}

Size CAnnouncingSurface::GetScreenSize() const
{
    return m_window.GetScreenSize();
}

void CAnnouncingSurface::SetUpFullScreen()
{
    m_window.SetUpFullScreen();
}

std::optional<Rect> CAnnouncingSurface::MapDialogRect(const Rect& dialogUnits) const
{
    return m_window.MapDialogRect(dialogUnits);
}

bool CAnnouncingSurface::BeginDeferredMoves(int expectedCount)
{
    return m_window.BeginDeferredMoves(expectedCount);
}

bool CAnnouncingSurface::DeferControlMove(int controlId, const Rect& pixels)
{
    return m_window.DeferControlMove(controlId, pixels);
}

bool CAnnouncingSurface::EndDeferredMoves()
{
    return m_window.EndDeferredMoves();
}

void CAnnouncingSurface::EndDialog(DialogResult result)
{
    m_flash.Stop();
    m_window.EndDialog(result);
}
