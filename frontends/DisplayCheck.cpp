#include "frontends/DisplayCheck.h"

namespace
{
std::string_view PlatformName(std::string_view entry)
{
    return entry.substr(0, entry.find(':'));
}

bool EntryLooksReachable(std::string_view entry, const DisplayEnvironment& environment)
{
    const std::string_view name = PlatformName(entry);
    if (name == "xcb")
        return !environment.display.empty();
    // wayland, wayland-egl, wayland-brcm: all speak to a compositor.
    if (name.starts_with("wayland"))
        return !environment.waylandDisplay.empty();
    return true;
}
} // namespace

bool PlatformNeedsNoDisplay(std::string_view platform)
{
    const std::string_view name = PlatformName(platform);
    return !name.empty() && name != "xcb" && !name.starts_with("wayland");
}

bool DisplayLooksReachable(const DisplayEnvironment& environment)
{
    std::string_view rest = environment.platform;
    bool anyNamed = false;
    while (!rest.empty())
    {
        const auto separator = rest.find(';');
        const std::string_view entry = rest.substr(0, separator);
        rest =
            separator == std::string_view::npos ? std::string_view() : rest.substr(separator + 1);
        if (PlatformName(entry).empty())
            continue;
        anyNamed = true;
        if (EntryLooksReachable(entry, environment))
            return true;
    }
    if (anyNamed)
        return false;
    return !environment.display.empty() || !environment.waylandDisplay.empty();
}
