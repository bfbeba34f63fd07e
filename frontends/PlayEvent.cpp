#include "frontends/PlayEvent.h"

#include "app/CommandLine.h"

#include <charconv>

namespace
{
PlayEvent MakeEvent(PlayEventKind kind)
{
    PlayEvent event;
    event.kind = kind;
    return event;
}

std::string_view TrimWhiteSpace(std::string_view text)
{
    return TrimCharacters(text, " \t\r\n");
}
} // namespace

bool IsSkippedEventLine(std::string_view line)
{
    const auto trimmed = TrimWhiteSpace(line);
    return trimmed.empty() || trimmed.front() == '#';
}

std::optional<PlayEvent> ParsePlayEvent(std::string_view text)
{
    text = TrimWhiteSpace(text);
    static constexpr std::pair<std::string_view, PlayEventKind> plain[] = {
        {"centre", PlayEventKind::Centre}, {"left", PlayEventKind::Left},
        {"right", PlayEventKind::Right},   {"picture", PlayEventKind::Picture},
        {"tick", PlayEventKind::Tick},     {"close", PlayEventKind::Close},
        {"reload", PlayEventKind::Reload},
    };
    for (const auto& [name, kind] : plain)
    {
        if (text == name)
            return MakeEvent(kind);
    }
    const auto colon = text.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    const auto name = text.substr(0, colon);
    const auto argument = text.substr(colon + 1);
    const auto number = [&]() -> std::optional<std::int64_t>
    {
        std::int64_t value = 0;
        const auto [end, error] =
            std::from_chars(argument.data(), argument.data() + argument.size(), value);
        if (error != std::errc{} || end != argument.data() + argument.size() || argument.empty())
            return std::nullopt;
        return value;
    };
    if (name == "menu")
    {
        const auto index = number();
        if (!index || *index < 0 || *index > 5)
            return std::nullopt;
        auto event = MakeEvent(PlayEventKind::Menu);
        event.menuIndex = static_cast<int>(*index);
        return event;
    }
    if (name == "tick")
    {
        const auto count = number();
        if (!count || *count < 0)
            return std::nullopt;
        auto event = MakeEvent(PlayEventKind::Tick);
        event.count = *count;
        return event;
    }
    if (name == "size")
    {
        const auto size = ParseSize(argument);
        if (!size)
            return std::nullopt;
        auto event = MakeEvent(PlayEventKind::Size);
        event.size = *size;
        return event;
    }
    return std::nullopt;
}

EventLineRead ReadEventLine(std::istream& input, std::string& line)
{
    line.clear();
    for (;;)
    {
        const int next = input.get();
        if (next == std::char_traits<char>::eof())
            return line.empty() ? EventLineRead::End : EventLineRead::Line;
        if (next == '\n')
            return EventLineRead::Line;
        if (line.size() == LongestEventLine)
            return EventLineRead::TooLong;
        line += static_cast<char>(next);
    }
}
