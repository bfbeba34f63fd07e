// Turns picture files into pictures. The Qt decoder serves the window and `play`; tests use
// fakes.
#pragma once

#include "platform/Picture.h"

class IPictureDecoder
{
public:
    virtual ~IPictureDecoder() = default;
    // Loads a regular file in any format the decoder knows. A file that is missing, not a
    // regular file, not a picture, or larger than the decoder's allocation limit gives null.
    virtual PictureHandle Load(const Text& path) = 0;
    // A new picture of the given size showing the whole source stretched; the source is
    // left as it is. Null when the size is not positive or too large.
    virtual PictureHandle Stretch(const PictureHandle& source, int width, int height) = 0;
};
