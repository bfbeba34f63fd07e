// Drops taps that come too soon after the screen changed. A finger that bounces, or taps twice
// on a button that is about to change, would otherwise act on the screen that comes next: skip
// a step, or walk on from "Abbruch" to closing the program.
//
// Plain C++, so that its decisions can be tested with a clock that does not run by itself.
#pragma once

#include <chrono>
#include <functional>

enum class TapVerdict
{
    Deliver,
    Drop,
};

class CTapGuard
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // Taps within `window` after a change are dropped; a window of 0 or less drops none.
    // Without a clock, the steady clock is asked.
    explicit CTapGuard(std::chrono::milliseconds window = std::chrono::milliseconds(0),
                       Clock clock = {});

    // The screen has just changed: taps meant for the one before may still be on their way.
    void OnScreenChanged();
    // Whether a tap that arrives now reaches the dialog. A dropped tap changes nothing.
    TapVerdict OnTap() const;

    std::chrono::milliseconds Window() const;

private:
    std::chrono::steady_clock::time_point Now() const;

    std::chrono::milliseconds m_window;
    Clock m_clock;
    std::chrono::steady_clock::time_point m_changedAt;
    bool m_changed = false;
};
