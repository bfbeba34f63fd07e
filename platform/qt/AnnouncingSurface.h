// The window's surface with what a driver in a cab needs beyond the screens themselves: it
// reads new steps, questions and message boxes aloud, and when the dialog's timer runs out
// (the stopwatch reached zero) it flashes the heading and says so. It passes every call on to
// the window unchanged; the dialog sees no difference, and `play` never uses it.
//
// What is read is what the window shows, as it shows it:
// - a new step or the end of a list: the whole body text, including what has to be scrolled
//   to; the heading, the sub-heading and the buttons that only move on are not read;
// - a question: its body text, then the captions of the two answer buttons that are shown,
//   in their order on the screen;
// - a message box: its text, as it opens.
// The one phrase it says that the screen does not show in words is the one for the flash,
// which stands for the flash itself.
#pragma once

#include "platform/IDialogSurface.h"
#include "platform/ISpeaker.h"
#include "platform/qt/HeadingFlash.h"

#include <functional>

class CQtDialogSurface;

// What the screen that is up is, as far as reading it aloud goes.
enum class SpokenScreen
{
    Other, // menus, the start screen, pictures: nothing is read
    Step,  // a step of a list, or its end
    Question,
};

class CAnnouncingSurface final : public IDialogSurface, private IDialogMessageSink
{
public:
    // `window` must outlive this. `speaker` may be null: the window then only flashes.
    // `ranOutPhrase` is said when the timer runs out.
    CAnnouncingSurface(CQtDialogSurface& window, ISpeaker* speaker, Text ranOutPhrase);

    // Tells what the screen is after each tap; until it is given, every screen is Other.
    void SetScreenKindSource(std::function<SpokenScreen()> source);

    // The flash of the heading; the tests drive its phases.
    CHeadingFlash& Flash();

    bool CreateFromTemplate(std::span<const std::uint8_t> templateBytes,
                            IDialogMessageSink& sink) override;

    bool HasControl(int controlId) const override;
    void SetControlText(int controlId, const Text& text) override;
    Text GetControlText(int controlId) const override;
    void ShowControl(int controlId, Visibility visibility) override;

    void SetControlPicture(int controlId, PictureHandle picture) override;
    PictureHandle LoadPicture(const Text& path) override;
    PictureHandle StretchPicture(const PictureHandle& source, int width, int height) override;
    bool SetControlImageResource(int controlId, ImageResourceKind kind, int resourceId) override;

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

private:
    bool OnDialogInit() override;
    void OnMessage(const DialogMessage& message) override;

    bool IsShown(int controlId) const;
    void ReadScreen();

    CQtDialogSurface& m_window;
    ISpeaker* m_speaker;
    Text m_ranOutPhrase;
    std::function<SpokenScreen()> m_screenKind;
    IDialogMessageSink* m_sink = nullptr;
    CHeadingFlash m_flash;

    // While a tick of a timer is handled: its id, and whether the dialog stopped it.
    int m_tickingTimer = 0;
    bool m_tickingTimerStopped = false;
    // Whether the message being handled put a text into the body or showed it.
    bool m_bodyChanged = false;
};
