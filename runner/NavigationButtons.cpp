#include "runner/NavigationButtons.h"

#include "app/MainDialog.h"
#include "platform/ControlId.h"
#include "runner/ListLine.h"

CNavigationButtons::CNavigationButtons(const DialogParts& parts)
    : m_surface(parts.surface), m_state(parts.state), m_store(parts.store), m_dialog(parts.dialog)
{
}

void CNavigationButtons::OnCentreButton()
{
    // "Start" opens the main menu once; from then on the button acts by the screen.
    if (!m_state.g_started)
    {
        m_dialog.ShowMainMenuPage();
        m_state.g_started = true;
        return;
    }
    switch (m_state.g_viewMode)
    {
    case ViewMode::MainMenu:
        m_dialog.NextMenuPage(MenuLevel::Main);
        break;
    case ViewMode::SubMenu:
        m_dialog.NextMenuPage(MenuLevel::Sub);
        break;
    case ViewMode::ListStep:
        StepBack();
        break;
    case ViewMode::ListPicture:
        LeavePictureScreen();
        StepBack();
        break;
    case ViewMode::ListQuestion:
        Answer(m_state.g_noTarget);
        break;
    default:
        break;
    }
}

void CNavigationButtons::OnLeftButton()
{
    switch (m_state.g_leftButtonMode)
    {
    case LeftButtonMode::EndProgram:
        m_surface.EndDialog(DialogResult::Cancel);
        break;
    case LeftButtonMode::PreviousMainMenuPage:
        m_dialog.PreviousMenuPage(MenuLevel::Main);
        break;
    case LeftButtonMode::PreviousSubMenuPage:
        m_dialog.PreviousMenuPage(MenuLevel::Sub);
        break;
    case LeftButtonMode::LeaveList:
        LeaveList();
        break;
    case LeftButtonMode::QuestionScreen:
        // The counter decides, not the caption: a redraw labels the button "Abbruch".
        if (m_state.g_stepCounter > 1)
        {
            m_state.g_stepCounter = 0;
            m_state.g_currentLine = 0;
            m_dialog.RunSteps();
        }
        else
            LeaveList();
        break;
    }
}

void CNavigationButtons::OnRightButton()
{
    // The screen state keeps the last runner screen while a menu page is up: on a menu it
    // would send a press into the menu's entries as if they were the lines of a list.
    if (m_state.g_viewMode == ViewMode::StartScreen || m_state.g_viewMode == ViewMode::MainMenu ||
        m_state.g_viewMode == ViewMode::SubMenu)
        return;
    switch (m_state.g_screenState)
    {
    case ScreenState::Step:
        if (m_state.g_currentLine < m_store.Count())
        {
            ++m_state.g_currentLine;
            ++m_state.g_stepCounter;
            m_dialog.RunSteps();
        }
        break;
    case ScreenState::End:
        LeaveList();
        break;
    case ScreenState::Picture:
        ++m_state.g_currentLine;
        LeavePictureScreen();
        m_dialog.RunSteps();
        break;
    case ScreenState::Question:
        Answer(m_state.g_yesTarget);
        break;
    case ScreenState::Start:
        break;
    }
}

void CNavigationButtons::OnPictureTap()
{
    OnRightButton();
}

void CNavigationButtons::LeavePictureScreen()
{
    m_surface.ShowControl(ControlId::Heading, Visibility::Shown);
    m_surface.ShowControl(ControlId::SubHeading, Visibility::Shown);
    m_surface.ShowControl(ControlId::BodyText, Visibility::Shown);
    m_surface.ShowControl(ControlId::Picture, Visibility::Hidden);
    m_state.g_screenState = ScreenState::Step;
    m_state.g_viewMode = ViewMode::ListStep;
}

void CNavigationButtons::Answer(std::int32_t target)
{
    m_state.g_currentLine = target > 0 ? target - 1 : 0;
    m_state.g_viewMode = ViewMode::ListStep;
    m_dialog.RunSteps();
}

void CNavigationButtons::StepBack()
{
    const auto restartAtFirstLine = [this] {
        m_state.g_currentLine = 0;
        m_state.g_stepCounter = 0;
        m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);
    };
    // With no line before the current one there is no step to go back to: the list starts
    // again.
    if (m_state.g_currentLine <= 0 || m_store.Count() == 0)
    {
        restartAtFirstLine();
        m_dialog.RunSteps();
        return;
    }
    m_state.g_currentLine = std::min(m_state.g_currentLine, m_store.Count());

    // Back over the end of the previous step to the end of the one before it; the pass then
    // runs the whole previous step again from the line after that.
    bool previousEndPassed = false;
    for (;;)
    {
        --m_state.g_currentLine;
        const std::int32_t line = m_state.g_currentLine;
        if (line == 0)
            restartAtFirstLine();
        const bool stepEnd = IsStepEndLine(m_store.GetText(line));
        if (stepEnd && previousEndPassed)
        {
            m_state.g_currentLine = line + 1;
            for (std::int32_t i = line; i >= 0; --i)
            {
                const Text& candidate = m_store.GetText(i);
                if (IsSubHeadingLine(candidate))
                {
                    m_state.g_subHeadingText = candidate.substr(1);
                    m_surface.SetControlText(ControlId::SubHeading, m_state.g_subHeadingText);
                    break;
                }
            }
            break;
        }
        // At line 0 the first step is the previous one, whether or not its end is line 0.
        if (line == 0)
            break;
        if (stepEnd)
            previousEndPassed = true;
    }
    m_dialog.RunSteps();
}

void CNavigationButtons::LeaveList()
{
    m_surface.ShowControl(ControlId::BodyText, Visibility::Hidden);
    m_dialog.CancelStopwatch();
    m_dialog.ReturnToSubMenu();
}
