#include "app/MainDialog.h"

#include "app/DialogTexts.h"
#include "app/Screens.h"
#include "app/StartScreen.h"
#include "platform/ControlId.h"
#include "platform/ProgramFile.h"
#include "platform/ReadOnlyFile.h"
#include "platform/Resources.h"

#include <array>

namespace
{
struct MessageMapEntry
{
    MessageKind kind;
    int controlId; // 0 for messages of the dialog itself
    void (CMainDialog::*handler)();
};

// The dialog's dispatch: which handler takes which message.
constexpr std::array MessageMap{
    MessageMapEntry{MessageKind::SizeChanged, 0, &CMainDialog::OnSizeChanged},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton0, &CMainDialog::OnMenuButton0},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton1, &CMainDialog::OnMenuButton1},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton2, &CMainDialog::OnMenuButton2},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton3, &CMainDialog::OnMenuButton3},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton4, &CMainDialog::OnMenuButton4},
    MessageMapEntry{MessageKind::Click, ControlId::MenuButton5, &CMainDialog::OnMenuButton5},
    MessageMapEntry{MessageKind::Click, ControlId::CentreButton, &CMainDialog::OnCentreButton},
    MessageMapEntry{MessageKind::Click, ControlId::LeftButton, &CMainDialog::OnLeftButton},
    MessageMapEntry{MessageKind::Click, ControlId::RightButton, &CMainDialog::OnRightButton},
    MessageMapEntry{MessageKind::Click, ControlId::Picture, &CMainDialog::OnPictureTap},
    MessageMapEntry{MessageKind::Timer, 0, &CMainDialog::OnStopwatchTick},
    MessageMapEntry{MessageKind::Close, 0, &CMainDialog::OnOk},
};
} // namespace

CMainDialog::CMainDialog(IDialogSurface& surface, Text programFolder)
    : m_surface(surface), m_programFolderOverride(std::move(programFolder)),
      m_programIcon(surface.LoadIcon(ResourceId::ProgramIcon)),
      m_stopwatch(DialogParts{surface, m_state, m_lineStore}),
      // The runner leaves a broken list by the menu, which is built after it: a call, not a
      // reference, so that nothing refers to the menu before it exists.
      m_runner(DialogParts{surface, m_state, m_lineStore}, m_stopwatch,
               [this] { m_menu.ReturnToSubMenu(); }),
      m_menu(DialogParts{surface, m_state, m_lineStore}, m_runner),
      m_navigation(DialogParts{surface, m_state, m_lineStore}, m_menu, m_runner, m_stopwatch),
      m_relayout(DialogParts{surface, m_state, m_lineStore}, m_menu, m_runner)
{
}

bool CMainDialog::Create()
{
    return m_surface.CreateFromTemplate(
        FindResource(ResourceType::Dialog, ResourceId::PortraitTemplate), *this);
}

void CMainDialog::OnMessage(const DialogMessage& message)
{
    // What a press does may depend on the heading's text, so the note goes first.
    if (message.kind != MessageKind::Timer)
        EndReloadNote();
    ++m_handlingDepth;
    for (const auto& entry : MessageMap)
    {
        // The timer message carries no control; the dialog owns one timer only, so every
        // tick counts whatever its id.
        const bool fromControl = message.kind == MessageKind::Click;
        if (entry.kind == message.kind && (!fromControl || entry.controlId == message.controlId))
        {
            (this->*entry.handler)();
            break;
        }
    }
    --m_handlingDepth;
    // The countdown of a tick is what the note gives way to when its moment is over.
    if (message.kind == MessageKind::Timer && m_headingUnderNote)
    {
        m_headingUnderNote = m_surface.GetControlText(ControlId::Heading);
        m_surface.SetControlText(ControlId::Heading, DialogText::ListReloaded);
    }
}

bool CMainDialog::IsListOnScreen() const
{
    const ViewMode view = m_state.g_viewMode;
    return m_state.g_started && (view == ViewMode::ListStep || view == ViewMode::ListPicture ||
                                 view == ViewMode::ListQuestion);
}

std::vector<Text> CMainDialog::ListFiles() const
{
    if (!IsListOnScreen())
        return {};
    return m_runner.ListFiles();
}

ReloadOutcome CMainDialog::ReloadList()
{
    // A pass stopped at a message box would go on over a list that is no longer its own.
    if (m_handlingDepth > 0)
        return ReloadOutcome::Busy;
    if (!IsListOnScreen() || m_runner.ListFiles().empty())
        return ReloadOutcome::NoListOpen;
    // A list that is gone, or half saved under another name, leaves the driver's screen alone.
    if (!CReadOnlyFile().Open(m_runner.ListFiles().front()))
        return ReloadOutcome::ListUnreadable;

    EndReloadNote();
    ++m_handlingDepth;
    const std::vector<ListMove> moves = m_runner.Journey().Moves();
    // A countdown measures time outside the program: reading the list again neither rewinds
    // it nor starts one that is over. While it runs, the check lines on the way warn as they
    // did before.
    const bool stopwatchRan = m_stopwatch.IsRunning();
    const std::int32_t secondsLeft = m_state.g_stopwatchSeconds;
    const std::int32_t stopwatchFlag = m_state.g_stopwatchRunning;
    const Text stopwatchName = m_state.g_stopwatchName;
    const bool wasOnEndScreen = m_state.g_screenState == ScreenState::End;
    if (m_state.g_viewMode == ViewMode::ListPicture)
    {
        m_surface.ShowControl(ControlId::Heading, Visibility::Shown);
        m_surface.ShowControl(ControlId::SubHeading, Visibility::Shown);
        m_surface.ShowControl(ControlId::BodyText, Visibility::Shown);
        m_surface.ShowControl(ControlId::Picture, Visibility::Hidden);
    }
    const auto repeat = [&](std::size_t count)
    {
        if (!stopwatchRan)
            m_stopwatch.CancelStopwatch();
        m_runner.RestartList();
        std::size_t repeated = 0;
        while (repeated < count && RepeatMove(moves[repeated]))
            ++repeated;
        return repeated;
    };
    const std::size_t repeated = repeat(moves.size());
    // A list now shorter than the way to the step ends on its last step, not on the end
    // screen, where "Weiter" would leave it.
    if (!wasOnEndScreen && repeated > 0 && IsListOnScreen() &&
        m_state.g_screenState == ScreenState::End)
        repeat(repeated - 1);
    --m_handlingDepth;
    if (!IsListOnScreen())
        return ReloadOutcome::ListLeft;
    if (stopwatchRan)
        m_stopwatch.ResumeStopwatch(secondsLeft, stopwatchName, stopwatchFlag);
    else
        m_stopwatch.CancelStopwatch();
    m_headingUnderNote = m_surface.GetControlText(ControlId::Heading);
    m_surface.SetControlText(ControlId::Heading, DialogText::ListReloaded);
    return ReloadOutcome::Reloaded;
}

void CMainDialog::EndReloadNote()
{
    if (!m_headingUnderNote)
        return;
    m_surface.SetControlText(ControlId::Heading, *m_headingUnderNote);
    m_headingUnderNote.reset();
}

bool CMainDialog::RepeatMove(ListMove move)
{
    const ViewMode view = m_state.g_viewMode;
    // "Weiter" on the end screen would leave the list.
    const bool onStep = view == ViewMode::ListStep && m_state.g_screenState != ScreenState::End;
    const bool onQuestion = view == ViewMode::ListQuestion;
    switch (move)
    {
    case ListMove::Next:
        if (view == ViewMode::ListPicture)
            m_navigation.OnPictureTap();
        else if (onStep)
            m_navigation.OnRightButton();
        else
            return false;
        return true;
    case ListMove::Back:
        if ((view != ViewMode::ListStep && view != ViewMode::ListPicture) || m_state.g_backBlocked)
            return false;
        m_navigation.OnCentreButton();
        return true;
    case ListMove::Yes:
        if (!onQuestion)
            return false;
        m_navigation.OnRightButton();
        return true;
    case ListMove::No:
        if (!onQuestion)
            return false;
        m_navigation.OnCentreButton();
        return true;
    case ListMove::ToStart:
        // With one step counted the same button leaves the list.
        if (!onQuestion || m_state.g_stepCounter <= 1)
            return false;
        m_navigation.OnLeftButton();
        return true;
    }
    return false;
}

bool CMainDialog::OnDialogInit()
{
    m_surface.SetUpFullScreen();
    m_surface.SetIcon(IconSize::Big, m_programIcon);
    m_surface.SetIcon(IconSize::Small, m_programIcon);
    m_state.g_appFolder =
        m_programFolderOverride.empty() ? FolderOfPath(ProgramFilePath()) : m_programFolderOverride;
    m_state.g_started = false;
    EnterScreen(m_state, Screen::Start);
    ShowStartScreen();
    return true;
}

void CMainDialog::ShowStartScreen()
{
    ::ShowStartScreen(m_surface);
}

// The closing of the dialog by the done button in its caption: nothing is saved.
void CMainDialog::OnOk()
{
    m_surface.EndDialog(DialogResult::Ok);
}

void CMainDialog::OnMenuButton(std::int32_t index)
{
    m_state.g_pressedButton = index;
    m_menu.OnMenuButton();
}

void CMainDialog::OnMenuButton0()
{
    OnMenuButton(0);
}

void CMainDialog::OnMenuButton1()
{
    OnMenuButton(1);
}

void CMainDialog::OnMenuButton2()
{
    OnMenuButton(2);
}

void CMainDialog::OnMenuButton3()
{
    OnMenuButton(3);
}

void CMainDialog::OnMenuButton4()
{
    OnMenuButton(4);
}

void CMainDialog::OnMenuButton5()
{
    OnMenuButton(5);
}

void CMainDialog::OnCentreButton()
{
    m_navigation.OnCentreButton();
}

void CMainDialog::OnLeftButton()
{
    m_navigation.OnLeftButton();
}

void CMainDialog::OnRightButton()
{
    m_navigation.OnRightButton();
}

void CMainDialog::OnPictureTap()
{
    m_navigation.OnPictureTap();
}

void CMainDialog::OnStopwatchTick()
{
    m_stopwatch.OnStopwatchTick();
}

void CMainDialog::OnSizeChanged()
{
    m_relayout.OnSizeChanged();
}
