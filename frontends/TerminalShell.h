// `tavrino --text`: the dialog in a terminal. Each screen is laid out for the terminal's size,
// with the keys that press its buttons; a long body is paged between the headings and the
// buttons. The stopwatch ticks while the program waits for a key.
#pragma once

#include "app/IApplicationShell.h"
#include "frontends/KeyParser.h"
#include "frontends/TerminalLayout.h"
#include "frontends/TerminalSession.h"
#include "platform/FileChangeMonitor.h"
#include "platform/headless/HeadlessSurface.h"

#include <chrono>
#include <deque>
#include <optional>
#include <ostream>
#include <vector>

class CTerminalShell final : public IApplicationShell
{
    using Clock = std::chrono::steady_clock;

public:
    // Keys are read from the file descriptor `input`; screens go to `output`, which writes to
    // standard output when it is std::cout. Nothing is owned. `decoder` may be null.
    CTerminalShell(IPictureDecoder* decoder, int input, std::ostream& output);
    // `outputDescriptor` is where `output` writes, or CTerminalSession::NoDescriptor.
    CTerminalShell(IPictureDecoder* decoder, int input, std::ostream& output, int outputDescriptor);

    // From now on the list on the screen is read again when its files change, and the
    // findings are written to `errors`, which must outlive the shell.
    void WatchList(std::ostream& errors);

    void SetSettingsKey(const Text&) override {}
    IDialogSurface& Surface() override { return m_surface; }
    int RunModal(CMainDialog& dialog) override;

    // The screen as text, as it is printed where the output is no terminal.
    static Text RenderScreen(const CHeadlessSurface& surface, TerminalSize size = {});

private:
    enum class Wait
    {
        Key,
        EndOfInput,
    };
    enum class Redraw
    {
        Whole,
        ChangedLines,
    };
    // Waits for one key, delivering timer ticks and signals meanwhile and drawing what they
    // change.
    Wait WaitForKey(KeyPress& key);
    void ReadKeys();
    void Draw(Redraw redraw);
    void ShowBox(const Text& text);
    // True when the key pages the body.
    bool Scroll(const KeyPress& key);
    void PressButton(char key);
    // Reads the list again once its files have changed and settled.
    void LookAtList(Clock::time_point now);

    CHeadlessSurface m_surface;
    int m_input;
    // Before the session: a closed input must be known before its number can be reused.
    bool m_inputEnded;
    std::ostream& m_output;
    CTerminalSession m_session;
    TerminalSize m_size;
    CKeyParser m_keyParser;
    std::deque<KeyPress> m_keys;
    std::optional<Clock::time_point> m_escapeDeadline;
    std::optional<std::vector<Text>> m_shownLines;
    std::optional<Text> m_openBox;
    std::size_t m_firstBodyLine = 0;
    std::size_t m_bodyWindow = 0;
    std::uint64_t m_seenTimerStarts = 0;
    std::optional<Clock::time_point> m_nextTick;
    IPictureDecoder* m_decoder;
    CMainDialog* m_dialog = nullptr;       // while RunModal runs
    std::ostream* m_watchErrors = nullptr; // null: the list is not watched
    CFileChangeMonitor m_listMonitor;
    std::optional<Clock::time_point> m_nextListLook;
    std::optional<Clock::time_point> m_reloadNoteEnd;
};
