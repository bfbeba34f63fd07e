#include "platform/qt/TapGuard.h"

#include <algorithm>
#include <utility>

CTapGuard::CTapGuard(std::chrono::milliseconds window, Clock clock)
    : m_window(std::max(window, std::chrono::milliseconds(0))), m_clock(std::move(clock))
{
}

void CTapGuard::OnScreenChanged()
{
    if (m_window.count() == 0)
    {
        return;
    }
    m_changedAt = Now();
    m_changed = true;
}

TapVerdict CTapGuard::OnTap() const
{
    if (!m_changed || m_window.count() == 0)
    {
        return TapVerdict::Deliver;
    }
    // A clock that went back counts as no time passed: the tap is still too soon.
    const auto elapsed = std::max(Now() - m_changedAt, std::chrono::steady_clock::duration(0));
    return elapsed < m_window ? TapVerdict::Drop : TapVerdict::Deliver;
}

std::chrono::milliseconds CTapGuard::Window() const
{
    return m_window;
}

std::chrono::steady_clock::time_point CTapGuard::Now() const
{
    return m_clock ? m_clock() : std::chrono::steady_clock::now();
}
