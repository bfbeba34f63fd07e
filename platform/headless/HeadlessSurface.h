// A surface without a window: the controls live in memory, and whoever drives it (`play`,
// the terminal front end, the tests) delivers clicks, ticks and size changes by hand.
// Places are kept in dialog units: one pixel is one unit here.
#pragma once

#include "platform/IDialogSurface.h"
#include "platform/IPictureDecoder.h"

#include <functional>
#include <map>
#include <set>
#include <vector>

struct HeadlessControl
{
    std::uint16_t windowClass = 0; // the template's class number; 0 for a named class
    Text text;
    Visibility visibility = Visibility::Hidden;
    Rect place;
    PictureHandle picture;
    int imageResource = 0; // the icon a template gave the control, if any
};

class CHeadlessSurface final : public IDialogSurface
{
public:
    using MessageBoxHandler = std::function<void(const Text&)>;

    // `decoder` may be null: then no picture loads. It is not owned and must outlive the
    // surface.
    explicit CHeadlessSurface(IPictureDecoder* decoder = nullptr, Size screen = {240, 320});

    // Driving the dialog. Every call does nothing once the dialog has ended.
    void Click(int controlId); // delivered even to a hidden control
    bool Tick();               // one timer message, only while a timer runs; true if delivered
    void Resize(Size screen);  // the screen is now this size, then the size-change message
    void Close();              // the done button in the caption

    // What the dialog did.
    bool IsTimerRunning() const { return !m_runningTimers.empty(); }
    // How often a timer was started: a new start restarts the period.
    std::uint64_t TimerStarts() const { return m_timerStarts; }
    bool HasEnded() const { return m_result.has_value(); }
    std::optional<DialogResult> Result() const { return m_result; }
    const std::map<int, HeadlessControl>& Controls() const { return m_controls; }
    // Texts of the message boxes shown since the last TakeMessages.
    std::vector<Text> TakeMessages();
    // Replaces the default handling of a message box (recorded and closed at once). The
    // handler runs while the box is "open" and may deliver ticks meanwhile.
    void SetMessageBoxHandler(MessageBoxHandler handler);

    // IDialogSurface
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
    Size GetScreenSize() const override { return m_screen; }
    void SetUpFullScreen() override {}
    std::optional<Rect> MapDialogRect(const Rect& dialogUnits) const override;
    bool BeginDeferredMoves(int expectedCount) override;
    bool DeferControlMove(int controlId, const Rect& pixels) override;
    bool EndDeferredMoves() override;
    void EndDialog(DialogResult result) override;

private:
    void Deliver(const DialogMessage& message);
    HeadlessControl* Find(int controlId);

    IPictureDecoder* m_decoder;
    Size m_screen;
    IDialogMessageSink* m_sink = nullptr;
    std::map<int, HeadlessControl> m_controls;
    std::set<int> m_runningTimers;
    std::uint64_t m_timerStarts = 0;
    std::vector<Text> m_messages;
    MessageBoxHandler m_messageBoxHandler;
    std::optional<std::vector<std::pair<int, Rect>>> m_pendingMoves;
    std::optional<DialogResult> m_result;
};
