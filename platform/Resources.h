// The program's resources, compiled into it from resources/ at build time.
#pragma once

#include <cstdint>
#include <span>

enum class ResourceType
{
    Dialog = 5,
    Icon = 14, // the picture of an icon, as XPM text
};

// The bytes of a resource; empty when the program has no such resource.
std::span<const std::uint8_t> FindResource(ResourceType type, int id);
