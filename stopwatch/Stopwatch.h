// The one countdown stopwatch of a list: a start line sets it going, the heading counts the
// seconds down once a second, and a check line warns while it still runs.
#pragma once

#include "app/DialogParts.h"
#include "stopwatch/IStopwatch.h"

inline constexpr int StopwatchTimerId = 1;
inline constexpr int StopwatchPeriodMilliseconds = 1000;

class CStopwatch final : public IStopwatch
{
public:
    explicit CStopwatch(const DialogParts& parts);

    // A start line after its ":": the seconds, and after a space the name. A duration that
    // reads as 0 is reported and starts nothing.
    void StartStopwatch(std::string_view start) override;
    // True, with the warning in `warning`, while the stopwatch runs.
    bool CheckStopwatch(Text& warning) const override;
    void OnStopwatchTick();
    void CancelStopwatch() override;
    // Whether its timer runs: from a start until it runs out or is cancelled.
    bool IsRunning() const { return m_timerRuns; }
    // Runs on as it ran before the list was read again: `seconds` left under `name`, and
    // `running` as g_stopwatchRunning was (0 until the first tick after a start).
    void ResumeStopwatch(std::int32_t seconds, const Text& name, std::int32_t running);

private:
    Text CountdownHeading() const;

    IDialogSurface& m_surface;
    SharedState& m_state;
    bool m_timerRuns = false;
};
