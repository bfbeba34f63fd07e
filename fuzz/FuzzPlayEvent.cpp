// Any bytes as an events file of `play`, read and parsed line by line as the play shell does.
// What holds:
// - each line read is the input up to the next LF, without it, and at most LongestEventLine
//   bytes long; a longer line is refused only when that many bytes come without an LF;
// - an event parsed has the fields the play shell relies on in range: a menu button 0 to 5,
//   no negative tick count, a screen size of at least one pixel each way;
// - white space around an event changes nothing.
#include "frontends/PlayEvent.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

namespace
{
void Require(bool holds)
{
    if (!holds)
        std::abort();
}

bool SameEvent(const std::optional<PlayEvent>& a, const std::optional<PlayEvent>& b)
{
    if (!a || !b)
        return !a && !b;
    return a->kind == b->kind && a->menuIndex == b->menuIndex && a->count == b->count &&
           a->size == b->size;
}

void CheckEvent(std::string_view text)
{
    const auto event = ParsePlayEvent(text);
    Require(SameEvent(ParsePlayEvent(" \t" + std::string(text) + "\r\n"), event));
    if (!event)
        return;
    Require(event->menuIndex >= 0 && event->menuIndex <= 5);
    Require(event->count >= 0);
    if (event->kind == PlayEventKind::Size)
        Require(event->size.width > 0 && event->size.height > 0);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::istringstream events{std::string(input)};
    std::string line;
    std::size_t position = 0;
    for (;;)
    {
        const EventLineRead read = ReadEventLine(events, line);
        if (read == EventLineRead::End)
        {
            Require(position == size);
            break;
        }
        if (read == EventLineRead::TooLong)
        {
            Require(input.substr(position, LongestEventLine + 1).find('\n') ==
                        std::string_view::npos &&
                    size - position > LongestEventLine);
            break;
        }
        Require(line.size() <= LongestEventLine && input.substr(position, line.size()) == line);
        position += line.size();
        Require(position == size || input[position] == '\n');
        if (position < size)
            ++position;
        if (IsSkippedEventLine(line))
            continue;
        // As the play shell hands a line on.
        std::string_view text = line;
        if (text.back() == '\r')
            text.remove_suffix(1);
        CheckEvent(TrimCharacters(text, " \t"));
    }
    CheckEvent(input);
    return 0;
}
