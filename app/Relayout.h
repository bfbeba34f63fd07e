// After a change of the dialog's size: the controls go back to the places of the template
// that fits the orientation, and the screen that was up is built again from the shared
// state.
#pragma once

#include "app/DialogParts.h"
#include "menu/IMenuNavigation.h"
#include "platform/DialogTemplate.h"
#include "runner/IListRunner.h"

#include <span>

class CRelayout
{
public:
    // The menus build their own pages again; `runner` loads the picture of a picture step.
    // Both must outlive the relayout.
    CRelayout(const DialogParts& parts, IMenuNavigation& menu, IListRunner& runner);

    void OnSizeChanged();
    // Moves every control the template names to its place there, in one deferred batch,
    // and gives it back the template's text or image. True only when nothing failed: the
    // template was read whole, every item named a control of the dialog, every move took
    // effect, and no two items shared the id 0xFFFF. An item naming no control stops the
    // layout there; the moves before it still take effect.
    bool ApplyTemplateLayout(std::span<const std::uint8_t> templateBytes);
    // Sets the texts and visibility of the screen that the shared state describes.
    void RedrawScreen();

private:
    void RestoreControlContent(std::uint32_t style, std::uint16_t id,
                               const TemplateField& windowClass, const TemplateField& title);
    void ReloadPicture();

    IDialogSurface& m_surface;
    SharedState& m_state;
    IMenuNavigation& m_menu;
    IListRunner& m_runner;
};
