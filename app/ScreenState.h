#pragma once

// The last screen a running list put up. Menu pages leave it alone, so read ViewMode first.
enum class ScreenState : int
{
    Start = 0,
    Step = 3,
    End = 4,
    Picture = 5,
    Question = 6,
};
