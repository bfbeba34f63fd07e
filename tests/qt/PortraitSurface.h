// The window surface as the input tests start it: the portrait dialog at 480x640, not yet
// shown, with the bounce guard the test asks for. Null when the template cannot be read.
#pragma once

#include "platform/Resources.h"
#include "platform/qt/QtDialogSurface.h"

#include <memory>

inline std::unique_ptr<CQtDialogSurface> CreatePortraitSurface(IPictureDecoder& decoder,
                                                               IDialogMessageSink& sink,
                                                               CTapGuard tapGuard)
{
    auto surface = std::make_unique<CQtDialogSurface>(decoder, "tavrino", CQtDialogSurface::Window,
                                                      QSize(480, 640), std::move(tapGuard));
    if (!surface->CreateFromTemplate(
            FindResource(ResourceType::Dialog, ResourceId::PortraitTemplate), sink))
        return nullptr;
    return surface;
}
