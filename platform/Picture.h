// A decoded picture, owned by whoever holds a handle to it.
#pragma once

#include "platform/Text.h"

#include <memory>

class CPicture
{
public:
    virtual ~CPicture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // The file the picture was loaded from (also for a stretched copy of it).
    virtual const Text& SourceFile() const = 0;
};

using PictureHandle = std::shared_ptr<const CPicture>;
