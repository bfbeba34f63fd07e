// The tap guard's decisions, on a clock that moves only when told.
#include "platform/qt/TapGuard.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
using std::chrono::milliseconds;

enum class Happening
{
    Change, // the screen changed
    Tap,
};

struct Moment
{
    int at; // milliseconds from the start
    Happening happening;
    TapVerdict expected = TapVerdict::Deliver; // for a tap
};

struct GuardCase
{
    const char* name;
    int window;
    std::vector<Moment> moments;
};

constexpr auto Drop = TapVerdict::Drop;
constexpr auto Deliver = TapVerdict::Deliver;
constexpr auto Change = Happening::Change;
constexpr auto Tap = Happening::Tap;

TEST(TapGuard, DropsTapsSoonAfterAChange)
{
    const GuardCase cases[] = {
        {"nothing changed yet", 350, {{0, Tap, Deliver}, {10, Tap, Deliver}}},
        {"a bounce on Weiter",
         350,
         {{0, Change}, {120, Tap, Drop}, {349, Tap, Drop}, {350, Tap, Deliver}}},
        {"a dropped tap does not start the wait again",
         350,
         {{0, Change}, {250, Tap, Drop}, {500, Tap, Deliver}}},
        {"every change starts it again",
         350,
         {{0, Change}, {400, Tap, Deliver}, {400, Change}, {500, Tap, Drop}, {750, Tap, Deliver}}},
        {"a tap in the same moment as the change", 350, {{1000, Change}, {1000, Tap, Drop}}},
        {"0 drops nothing", 0, {{0, Change}, {0, Tap, Deliver}, {1, Tap, Deliver}}},
        {"less than 0 drops nothing", -5, {{0, Change}, {0, Tap, Deliver}}},
        {"a clock that went back", 350, {{1000, Change}, {900, Tap, Drop}, {1350, Tap, Deliver}}},
    };
    for (const GuardCase& c : cases)
    {
        std::chrono::steady_clock::time_point now{};
        CTapGuard guard(milliseconds(c.window), [&now] { return now; });
        for (const Moment& moment : c.moments)
        {
            now = std::chrono::steady_clock::time_point{} + milliseconds(moment.at);
            if (moment.happening == Change)
                guard.OnScreenChanged();
            else
                EXPECT_EQ(guard.OnTap(), moment.expected) << c.name << ", tap at " << moment.at;
        }
    }
}

TEST(TapGuard, ByDefaultDropsNothing)
{
    CTapGuard guard;
    guard.OnScreenChanged();
    EXPECT_EQ(guard.OnTap(), TapVerdict::Deliver);
    EXPECT_EQ(guard.Window(), milliseconds(0));
}

TEST(TapGuard, AsksTheSteadyClockWithoutOne)
{
    // A day is long enough that the tap right after the change is sure to fall within it.
    CTapGuard guard(std::chrono::hours(24));
    EXPECT_EQ(guard.OnTap(), TapVerdict::Deliver);
    guard.OnScreenChanged();
    EXPECT_EQ(guard.OnTap(), TapVerdict::Drop);
}
} // namespace
