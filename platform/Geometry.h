#pragma once

struct Rect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Size
{
    int width = 0;
    int height = 0;
    bool operator==(const Size&) const = default;
};
