// The terminal for as long as the terminal version runs: single keys without echo on the
// input, the alternate screen on the output, and the signals that must give both back (a stop,
// the end of the program) or call for the screen to be drawn afresh (a resume, a new size).
// Only one session at a time takes the terminal; another one leaves it be.
#pragma once

#include "frontends/TerminalLayout.h"

#include <ostream>

class CTerminalSession
{
public:
    static constexpr int NoDescriptor = -1;

    enum class Redraw
    {
        No,
        Whole,
    };

    // Either descriptor may be NoDescriptor or no terminal; then that side is left as it is.
    // `screen` is the stream that writes to `output`.
    CTerminalSession(int input, int output, std::ostream& screen);
    ~CTerminalSession();
    CTerminalSession(const CTerminalSession&) = delete;
    CTerminalSession& operator=(const CTerminalSession&) = delete;

    // True when the output is a terminal: screens are laid out for its size and updated in
    // place.
    bool HasScreen() const { return m_hasScreen; }
    // The terminal's size now; 72 columns and no row limit when the output is no terminal.
    TerminalSize Size() const;
    // Becomes readable when a signal arrived; NoDescriptor when no signals are watched.
    int SignalDescriptor() const { return m_signalRead; }
    // Acts on the signals that arrived. A stop request stops the program here, with the
    // terminal given back, until it is continued.
    Redraw HandleSignals();
    // Gives the terminal back: its saved mode, the normal screen, the former signal handlers.
    void End();

private:
    void Take();
    void Release();
    void Stop();
    void WatchSignals();

    std::ostream& m_screen;
    bool m_active = false;
    bool m_hasKeys = false;
    bool m_hasScreen = false;
    int m_signalRead = NoDescriptor;
    int m_signalWrite = NoDescriptor;
};
