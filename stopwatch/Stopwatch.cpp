#include "stopwatch/Stopwatch.h"

#include "app/DialogTexts.h"
#include "platform/ControlId.h"
#include "stopwatch/StopwatchStart.h"

#include <limits>

CStopwatch::CStopwatch(const DialogParts& parts) : m_surface(parts.surface), m_state(parts.state) {}

void CStopwatch::StartStopwatch(std::string_view rest)
{
    StopwatchStart start = ReadStopwatchStart(rest);
    m_state.g_stopwatchSeconds = start.seconds;
    m_state.g_stopwatchName.clear();
    if (start.seconds == 0)
    {
        // A stopwatch that runs is left to end at its next tick.
        m_surface.ShowMessageBox(DialogText::TimerUnreadable);
        m_surface.SetControlText(ControlId::LeftButton, DialogText::Abort);
        m_surface.SetControlText(ControlId::RightButton, DialogText::Next);
        return;
    }
    m_surface.StartTimer(StopwatchTimerId, StopwatchPeriodMilliseconds);
    m_timerRuns = true;
    m_state.g_stopwatchName = std::move(start.name);
}

bool CStopwatch::CheckStopwatch(Text& warning) const
{
    if (m_state.g_stopwatchRunning == 0)
        return false;
    warning = StopwatchWarning(m_state.g_stopwatchName);
    return true;
}

void CStopwatch::OnStopwatchTick()
{
    // Counting down from the least value goes no further than it.
    if (m_state.g_stopwatchSeconds > std::numeric_limits<std::int32_t>::min())
        --m_state.g_stopwatchSeconds;
    if (m_state.g_stopwatchSeconds <= 0)
    {
        m_surface.StopTimer(StopwatchTimerId);
        m_timerRuns = false;
        m_state.g_stopwatchRunning = 0;
        m_state.g_stopwatchName.clear();
        m_surface.SetControlText(ControlId::Heading, m_state.g_headingText);
        return;
    }
    m_state.g_stopwatchRunning = 1;
    m_surface.SetControlText(ControlId::Heading, CountdownHeading());
}

Text CStopwatch::CountdownHeading() const
{
    Text heading = DialogText::Stopwatch;
    heading += m_state.g_stopwatchName.empty() ? Text(": ") : " für " + m_state.g_stopwatchName;
    return heading + DecimalText(m_state.g_stopwatchSeconds);
}

void CStopwatch::ResumeStopwatch(std::int32_t seconds, const Text& name, std::int32_t running)
{
    m_state.g_stopwatchSeconds = seconds;
    m_state.g_stopwatchName = name;
    m_state.g_stopwatchRunning = running;
    m_surface.StartTimer(StopwatchTimerId, StopwatchPeriodMilliseconds);
    m_timerRuns = true;
    if (running != 0)
        m_surface.SetControlText(ControlId::Heading, CountdownHeading());
}

void CStopwatch::CancelStopwatch()
{
    m_surface.StopTimer(StopwatchTimerId);
    m_timerRuns = false;
    m_state.g_stopwatchRunning = 0;
    m_state.g_stopwatchName.clear();
}
