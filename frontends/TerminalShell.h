// `tavrino --text`: the dialog in a terminal. Each screen is printed as text with the keys
// that press its buttons; the stopwatch ticks while the program waits for a key.
#pragma once

#include "app/IApplicationShell.h"
#include "platform/headless/HeadlessSurface.h"

#include <chrono>
#include <optional>
#include <ostream>

class CTerminalShell final : public IApplicationShell
{
public:
    // Keys are read from the file descriptor `input`; screens go to `output`. Neither is
    // owned. `decoder` may be null.
    CTerminalShell(IPictureDecoder* decoder, int input, std::ostream& output);

    void InitializeShell() override {}
    void SetSettingsKey(const Text&) override {}
    IDialogSurface& Surface() override { return m_surface; }
    int RunModal(CMainDialog& dialog) override;

    // The screen as text, as it is printed.
    static Text RenderScreen(const CHeadlessSurface& surface);

private:
    enum class Wait
    {
        Key,
        EndOfInput,
    };
    // Waits for one key, delivering timer ticks meanwhile and drawing what they change.
    Wait WaitForKey(char& key);
    void Draw(const Text& extra = {});
    void ShowBox(const Text& text);

    CHeadlessSurface m_surface;
    int m_input;
    std::ostream& m_output;
    bool m_clearScreen;
    Text m_lastDrawn;
    Text m_openBox;
    std::uint64_t m_seenTimerStarts = 0;
    std::optional<std::chrono::steady_clock::time_point> m_nextTick;
};
