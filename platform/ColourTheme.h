// The colour themes of the window: day, as it always was, and night for a dark cab, where a
// bright screen dazzles the driver and mirrors in the windscreen.
#pragma once

enum class ColourTheme
{
    Day,
    Night,
};
