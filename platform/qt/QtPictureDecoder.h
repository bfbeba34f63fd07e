// Picture files decoded with Qt's image reader (BMP, GIF, JPEG, PNG and whatever else the
// installed image plug-ins know). Needs QtGui only, not a display.
#pragma once

#include "platform/IPictureDecoder.h"

class CQtPictureDecoder : public IPictureDecoder
{
public:
    // A picture larger than this on either side counts as one that cannot be loaded, and
    // no stretched copy is made larger than this.
    static constexpr int MaximumSide = 8192;
    // Memory the reader may take for one decoded picture; beyond it the picture does not load.
    static constexpr int AllocationLimitMegabytes = 64;

    // Null for a file that is missing, not a regular file, not a picture or too large.
    // The result is a CQtPicture.
    PictureHandle Load(const Text& path) override;
    // The source's image at the given size: no pixels are stretched, since the window keeps a
    // picture's proportions. Null when the source is null or no CQtPicture, or the size is not
    // positive or too large.
    PictureHandle Stretch(const PictureHandle& source, int width, int height) override;
};
