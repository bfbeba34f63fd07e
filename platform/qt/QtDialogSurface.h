// The dialog as a Qt Widgets window. The controls keep their places in dialog units, and
// the template's width and height fill the window: every resize places them again. Type comes
// from one scale per window size (TypeScale): texts that do not fit scroll rather than shrink,
// and pictures are drawn whole inside the frame their size gives them.
//
// Needs a QApplication that outlives the surface. Not copyable.
#pragma once

#include "platform/ColourTheme.h"
#include "platform/DialogTemplate.h"
#include "platform/IDialogSurface.h"
#include "platform/IPictureDecoder.h"
#include "platform/qt/KeyInput.h"
#include "platform/qt/TapGuard.h"
#include "platform/qt/TypeScale.h"

#include <QIcon>
#include <QObject>
#include <QRectF>
#include <QSize>
#include <QString>
#include <map>
#include <memory>
#include <vector>

class CQtDialogWindow;
class QEventLoop;
class QTimer;
class QWidget;

class CQtDialogSurface : public QObject, public IDialogSurface
{
    Q_OBJECT

public:
    enum WindowMode
    {
        Window,     // a desktop window of the initial size
        FullScreen, // the whole primary screen
    };

    // `decoder` must outlive the surface. `applicationName` is the caption of message boxes.
    // `tapGuard` drops clicks that follow a change of the screen too closely; by default it
    // drops none.
    CQtDialogSurface(IPictureDecoder& decoder, QString applicationName,
                     WindowMode windowMode = Window, QSize initialSize = QSize(480, 640),
                     CTapGuard tapGuard = CTapGuard());
    ~CQtDialogSurface() override;
    CQtDialogSurface(const CQtDialogSurface&) = delete;
    CQtDialogSurface& operator=(const CQtDialogSurface&) = delete;

    // Shows the window and handles its messages until EndDialog, then hides it; the
    // dialog's timers stop with it. Cancel when no dialog was created.
    DialogResult RunModal();

    bool CreateFromTemplate(std::span<const std::uint8_t> templateBytes,
                            IDialogMessageSink& sink) override;

    bool HasControl(int controlId) const override;
    void SetControlText(int controlId, const Text& text) override;
    Text GetControlText(int controlId) const override;
    void ShowControl(int controlId, Visibility visibility) override;

    void SetControlPicture(int controlId, PictureHandle picture) override;
    bool SetControlImageResource(int controlId, ImageResourceKind kind, int resourceId) override;
    PictureHandle LoadPicture(const Text& path) override;
    PictureHandle StretchPicture(const PictureHandle& source, int width, int height) override;

    int LoadIcon(int resourceId) override;
    void SetIcon(IconSize size, int icon) override;

    void ShowMessageBox(const Text& text) override;

    void StartTimer(int timerId, int periodMilliseconds) override;
    void StopTimer(int timerId) override;

    Size GetScreenSize() const override;
    void SetUpFullScreen() override;

    std::optional<Rect> MapDialogRect(const Rect& dialogUnits) const override;
    bool BeginDeferredMoves(int expectedCount) override;
    bool DeferControlMove(int controlId, const Rect& pixels) override;
    bool EndDeferredMoves() override;

    void EndDialog(DialogResult result) override;

    // The window, and the widget of a control; null before CreateFromTemplate or for an id
    // that is no control. Owned by the surface.
    QWidget* DialogWindow() const;
    QWidget* ControlWidget(int controlId) const;

    // Pixel sizes of the type scale at the window's present size: the body text, and the one
    // size that every button of the screen that is up shares.
    int BodyPixelSize() const;
    int ButtonPixelSize() const;
    const TypeScale& CurrentTypeScale() const;

    // The window's colours: day unless told otherwise, also before the window exists. The key
    // n switches between the two.
    void SetTheme(ColourTheme theme);
    ColourTheme Theme() const;

    // Grows by one whenever a control's text, visibility or picture changes.
    std::uint64_t ControlChanges() const;

private:
    enum class ControlKind
    {
        Button,
        Label,
        Picture,
        ListBox,
        Other,
    };

    struct Control
    {
        int id = 0;
        ControlKind kind = ControlKind::Other;
        QWidget* widget = nullptr; // owned by the window
        QRectF unitPlace;          // in dialog units; the window's size gives the pixels
        QString text;
        PictureHandle picture;
    };

    struct PendingMove
    {
        int controlId = 0;
        Rect pixels;
    };

    void DestroyWindow();
    void CreateControl(const DialogItemTemplate& item);
    Control* FindControl(int controlId);
    const Control* FindControl(int controlId) const;

    double XScale() const;
    double YScale() const;
    double PictureScale() const;
    QRect UnitsToPixels(const QRectF& units) const;
    void PlaceControls();
    void PlaceControl(Control& control);
    // The pixel row where the next control below a text begins, or the window's bottom.
    int FreeSpaceBelow(const Control& label) const;

    // The focus moves through the buttons as they are read, whatever order they were made in.
    void OrderFocus();
    KeyUse OnKeyCommand(const KeyCommand& command);

    void OnWindowResized();
    void OnCloseRequested();
    void Deliver(const DialogMessage& message);

    void ShowWindow();
    // The size of the dialog's left and right buttons, which OK of a message box matches.
    QSize MessageBoxButtonSize() const;
    // Back to `focusedBefore` if it is still shown, else to a shown button of the dialog.
    void RestoreFocus(QWidget* focusedBefore);
    void FocusDefaultButton();

    IPictureDecoder& m_decoder;
    QString m_applicationName;
    WindowMode m_windowMode;
    QSize m_initialSize;

    std::unique_ptr<CQtDialogWindow> m_window;
    IDialogMessageSink* m_sink = nullptr;
    int m_templateWidth = 0;
    int m_templateHeight = 0;
    std::vector<Control> m_controls;
    std::uint64_t m_controlChanges = 0;
    TypeScale m_typeScale;
    // Settled when first asked for after a button changed, so that a screen built of several
    // changes gets one size.
    mutable int m_buttonPixelSize = 14;
    mutable bool m_buttonSizeValid = false;

    bool m_batchOpen = false;
    std::vector<PendingMove> m_pendingMoves;

    std::vector<QIcon> m_icons;      // an icon's handle is its index + 1
    std::map<int, QTimer*> m_timers; // children of the surface

    QEventLoop* m_loop = nullptr;
    bool m_endRequested = false;
    DialogResult m_result = DialogResult::Cancel;

    ColourTheme m_theme = ColourTheme::Day;
    std::unique_ptr<CKeyInput> m_keyInput;

    CTapGuard m_tapGuard;
    int m_openMessageBoxes = 0;
    std::uint64_t m_closedMessageBoxes = 0;
};
