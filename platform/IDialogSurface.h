// The seam between the dialog's logic and a windowing system: every operation the logic
// needs of the platform, and nothing else. CQtDialogSurface shows a real window;
// CHeadlessSurface keeps the controls in memory for `play`, the terminal and the tests.
//
// All calls happen on the dialog's one thread. None of them throws.
#pragma once

#include "platform/DialogMessage.h"
#include "platform/Geometry.h"
#include "platform/Picture.h"
#include "platform/Text.h"

#include <cstdint>
#include <optional>
#include <span>

enum class Visibility
{
    Hidden,
    Shown,
};

enum class DialogResult
{
    Ok,
    Cancel,
};

enum class IconSize
{
    Big,
    Small,
};

// The kinds of picture a template can give an image static by resource number.
enum class ImageResourceKind
{
    Icon,
    Bitmap,
};

class IDialogSurface
{
public:
    virtual ~IDialogSurface() = default;

    // Creates the dialog and its controls from the bytes of a dialog template and makes
    // `sink` the receiver of its messages (the sink must outlive the surface's use of it).
    // Calls sink.OnDialogInit() once the controls exist. False when the template cannot
    // be read; no control exists then.
    virtual bool CreateFromTemplate(std::span<const std::uint8_t> templateBytes,
                                    IDialogMessageSink& sink) = 0;

    // Controls. Calls naming an id that is no control of the dialog do nothing.
    virtual bool HasControl(int controlId) const = 0;
    virtual void SetControlText(int controlId, const Text& text) = 0;
    virtual Text GetControlText(int controlId) const = 0;
    virtual void ShowControl(int controlId, Visibility visibility) = 0;

    // The picture control shows `picture`, replacing what it showed; null shows none.
    virtual void SetControlPicture(int controlId, PictureHandle picture) = 0;
    // The picture loader: null when the file cannot be loaded (see IPictureDecoder).
    virtual PictureHandle LoadPicture(const Text& path) = 0;
    // A stretched copy; the source is not changed. Null when it cannot be made.
    virtual PictureHandle StretchPicture(const PictureHandle& source, int width, int height) = 0;

    // Gives a static control the icon or bitmap resource `resourceId`, replacing the one it
    // showed. False, with the control unchanged, when there is no such resource or control.
    virtual bool SetControlImageResource(int controlId, ImageResourceKind kind, int resourceId) = 0;

    // Icons from the program's resources; 0 when there is no such icon.
    virtual int LoadIcon(int resourceId) = 0;
    virtual void SetIcon(IconSize size, int icon) = 0;

    // Modal box with one OK button, no icon and the program's name as caption. Returns
    // when the user has closed it; timer messages go on arriving meanwhile.
    virtual void ShowMessageBox(const Text& text) = 0;

    // Periodic timer of the dialog. Starting an id that runs restarts its period.
    virtual void StartTimer(int timerId, int periodMilliseconds) = 0;
    virtual void StopTimer(int timerId) = 0;

    // Width and height of the screen (the dialog's window) in pixels.
    virtual Size GetScreenSize() const = 0;

    // Fills the screen with the dialog, as the platform's standard initialisation does.
    virtual void SetUpFullScreen() = 0;

    // Dialog units to pixels, by the dialog's own conversion; nothing on failure.
    virtual std::optional<Rect> MapDialogRect(const Rect& dialogUnits) const = 0;
    // A batch of control moves that take effect together at EndDeferredMoves. Each call
    // returns false when it fails; a failed begin leaves no batch open.
    virtual bool BeginDeferredMoves(int expectedCount) = 0;
    virtual bool DeferControlMove(int controlId, const Rect& pixels) = 0;
    virtual bool EndDeferredMoves() = 0;

    // Ends the modal dialog with the given result once the current message is handled.
    virtual void EndDialog(DialogResult result) = 0;
};

// Sets the text of a control and shows or hides it: the pair that most screens are made of.
inline void LabelControl(IDialogSurface& surface, int controlId, const Text& text,
                         Visibility visibility)
{
    surface.SetControlText(controlId, text);
    surface.ShowControl(controlId, visibility);
}
