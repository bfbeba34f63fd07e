#include "runner/NavigationButtons.h"

#include "app/Screens.h"
#include "platform/ControlId.h"
#include "runner/StepBackWalk.h"

CNavigationButtons::CNavigationButtons(const DialogParts& parts, IMenuNavigation& menu,
                                       IListRunner& runner, IStopwatch& stopwatch)
    : m_surface(parts.surface), m_state(parts.state), m_store(parts.store), m_menu(menu),
      m_runner(runner), m_stopwatch(stopwatch)
{
}

void CNavigationButtons::OnCentreButton()
{
    // "Start" opens the main menu once; from then on the button acts by the screen.
    if (!m_state.g_started)
    {
        m_menu.ShowMainMenuPage();
        m_state.g_started = true;
        return;
    }
    switch (m_state.g_viewMode)
    {
    case ViewMode::MainMenu:
        m_menu.NextMenuPage(MenuLevel::Main);
        break;
    case ViewMode::SubMenu:
        m_menu.NextMenuPage(MenuLevel::Sub);
        break;
    case ViewMode::ListStep:
        m_runner.Journey().Record(ListMove::Back);
        StepBack();
        break;
    case ViewMode::ListPicture:
        m_runner.Journey().Record(ListMove::Back);
        LeavePictureScreen();
        StepBack();
        break;
    case ViewMode::ListQuestion:
        m_runner.Journey().Record(ListMove::No);
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
        m_menu.PreviousMenuPage(MenuLevel::Main);
        break;
    case LeftButtonMode::PreviousSubMenuPage:
        m_menu.PreviousMenuPage(MenuLevel::Sub);
        break;
    case LeftButtonMode::LeaveList:
        LeaveList();
        break;
    case LeftButtonMode::QuestionScreen:
        // The counter decides, not the caption: a redraw labels the button "Abbruch".
        if (m_state.g_stepCounter > 1)
        {
            m_runner.Journey().Record(ListMove::ToStart);
            m_state.g_stepCounter = 0;
            m_state.g_currentLine = 0;
            m_runner.RunSteps();
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
            m_runner.Journey().Record(ListMove::Next);
            ++m_state.g_currentLine;
            ++m_state.g_stepCounter;
            m_runner.RunSteps();
        }
        break;
    case ScreenState::End:
        LeaveList();
        break;
    case ScreenState::Picture:
        m_runner.Journey().Record(ListMove::Next);
        ++m_state.g_currentLine;
        LeavePictureScreen();
        m_runner.RunSteps();
        break;
    case ScreenState::Question:
        m_runner.Journey().Record(ListMove::Yes);
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
    EnterScreen(m_state, Screen::PictureLeft);
}

void CNavigationButtons::Answer(std::int32_t target)
{
    m_state.g_currentLine = target > 0 ? target - 1 : 0;
    EnterScreen(m_state, Screen::Answered);
    m_runner.RunSteps();
}

void CNavigationButtons::StepBack()
{
    const StepBackWalk walk = WalkBack(m_store, m_state.g_currentLine, m_subHeadings);
    if (walk.reachedFirstLine)
    {
        m_state.g_stepCounter = 0;
        m_surface.ShowControl(ControlId::CentreButton, Visibility::Hidden);
    }
    if (walk.subHeadingLine)
    {
        m_state.g_subHeadingText = m_store.GetText(*walk.subHeadingLine).substr(1);
        m_surface.SetControlText(ControlId::SubHeading, m_state.g_subHeadingText);
    }
    m_state.g_currentLine = walk.restartLine;
    m_runner.RunSteps();
}

void CNavigationButtons::LeaveList()
{
    m_surface.ShowControl(ControlId::BodyText, Visibility::Hidden);
    m_stopwatch.CancelStopwatch();
    m_menu.ReturnToSubMenu();
}
