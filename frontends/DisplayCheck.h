// Whether the window program can hope for a screen before Qt is asked for one: Qt's desktop
// platforms need a display server, the others (eglfs, linuxfb, offscreen, vnc, ...) draw on
// the device itself.
#pragma once

#include <string_view>

struct DisplayEnvironment
{
    std::string_view platform;       // -platform, else QT_QPA_PLATFORM; empty: Qt's default
    std::string_view display;        // DISPLAY
    std::string_view waylandDisplay; // WAYLAND_DISPLAY
};

// True when one of the platforms named (Qt takes a list separated by ";", each perhaps with
// ":options") draws without a display server, or names one that is set. Qt's default, with no
// platform named, needs DISPLAY or WAYLAND_DISPLAY. Reachable is only a hope: a display that
// is named but does not answer is found out when Qt starts.
bool DisplayLooksReachable(const DisplayEnvironment& environment);

// Whether a platform named draws on the device itself, without a display server.
bool PlatformNeedsNoDisplay(std::string_view platform);
