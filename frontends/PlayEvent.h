// The events that `play` understands, one per argument or line.
#pragma once

#include "platform/Geometry.h"
#include "platform/Text.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <string_view>

enum class PlayEventKind
{
    Centre,
    Left,
    Right,
    Picture,
    Menu, // menuIndex 0 to 5
    Tick, // count ticks
    Size, // the screen is now `size`
    Close,
    Reload, // the list on the screen is read again, as a watching shell does when it changes
};

struct PlayEvent
{
    PlayEventKind kind = PlayEventKind::Centre;
    int menuIndex = 0;
    std::int64_t count = 1;
    Size size;
};

// Nothing for a text that is no event. Leading and trailing white space is ignored.
std::optional<PlayEvent> ParsePlayEvent(std::string_view text);

// True for a line of an events file that holds no event: blank, or a comment from "#".
bool IsSkippedEventLine(std::string_view line);

// No event is this long: a longer line is refused rather than read without end (from
// /dev/zero, say).
inline constexpr std::size_t LongestEventLine = 4096;

enum class EventLineRead
{
    Line,    // `line` holds it, without its line feed
    End,     // nothing more to read
    TooLong, // more than LongestEventLine bytes before a line feed; the rest is not read
};

// Reads one line of an events file.
EventLineRead ReadEventLine(std::istream& input, std::string& line);
