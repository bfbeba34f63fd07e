#include "frontends/TerminalSession.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <string_view>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace
{
constexpr std::string_view EnterAlternateScreen = "\x1b[?1049h";
// Cleared first: a terminal resized meanwhile may otherwise (tmux does) wrap the lines of the
// alternate screen into the normal one as it switches back.
constexpr std::string_view LeaveAlternateScreen = "\x1b[H\x1b[2J\x1b[?1049l";
constexpr TerminalSize FallbackScreenSize{72, 24};

// Read by the signal handlers, so plain values only; set before the handlers are installed.
bool g_sessionActive = false;
volatile std::sig_atomic_t g_inputDescriptor = CTerminalSession::NoDescriptor;
volatile std::sig_atomic_t g_outputDescriptor = CTerminalSession::NoDescriptor;
volatile std::sig_atomic_t g_signalPipe = CTerminalSession::NoDescriptor;
volatile std::sig_atomic_t g_modeApplied = 0;
volatile std::sig_atomic_t g_screenTaken = 0;
termios g_savedMode{};

// Signals that the poll loop acts on; the others end the program, the terminal given back
// first.
constexpr int WatchedSignals[] = {SIGTSTP, SIGCONT, SIGWINCH};
constexpr int AllSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGTSTP, SIGCONT, SIGWINCH};
struct sigaction g_formerActions[std::size(AllSignals)];
bool g_replaced[std::size(AllSignals)] = {};

void WriteAll(int descriptor, std::string_view bytes)
{
    while (!bytes.empty())
    {
        const auto written = write(descriptor, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

// Only calls that are safe in a signal handler.
void GiveTerminalBack()
{
    if (g_modeApplied)
    {
        g_modeApplied = 0;
        tcsetattr(g_inputDescriptor, TCSANOW, &g_savedMode);
    }
    if (g_screenTaken)
    {
        g_screenTaken = 0;
        WriteAll(g_outputDescriptor, LeaveAlternateScreen);
    }
}

void EndOnSignal(int signal)
{
    GiveTerminalBack();
    struct sigaction defaultAction
    {
    };
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(signal, &defaultAction, nullptr);
    // Delivered when the handler returns, so the program ends as the signal says.
    raise(signal);
}

void NoteSignal(int signal)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    if (g_signalPipe >= 0)
    {
        // A full pipe already holds enough to wake the loop.
        [[maybe_unused]] const auto written = write(g_signalPipe, &byte, 1);
    }
    errno = savedErrno;
}

bool MakePipe(int& readEnd, int& writeEnd)
{
    int ends[2];
    if (pipe(ends) != 0)
        return false;
    for (int& end : ends)
    {
        // Above the standard descriptors: with standard input closed, the pipe would
        // otherwise be read as keys.
        const int moved = fcntl(end, F_DUPFD_CLOEXEC, 3);
        close(end);
        end = moved;
    }
    if (ends[0] < 0 || ends[1] < 0)
    {
        for (const int end : ends)
        {
            if (end >= 0)
                close(end);
        }
        return false;
    }
    for (const int end : ends)
        fcntl(end, F_SETFL, fcntl(end, F_GETFL) | O_NONBLOCK);
    readEnd = ends[0];
    writeEnd = ends[1];
    return true;
}
} // namespace

CTerminalSession::CTerminalSession(int input, int output, std::ostream& screen) : m_screen(screen)
{
    if (g_sessionActive)
        return;
    m_hasKeys = input >= 0 && isatty(input) && tcgetattr(input, &g_savedMode) == 0;
    m_hasScreen = output >= 0 && isatty(output);
    if (!m_hasKeys && !m_hasScreen)
        return;
    g_sessionActive = true;
    m_active = true;
    g_inputDescriptor = input;
    g_outputDescriptor = output;
    WatchSignals();
    Take();
}

CTerminalSession::~CTerminalSession()
{
    End();
}

TerminalSize CTerminalSession::Size() const
{
    if (!m_hasScreen)
        return {};
    winsize window{};
    if (ioctl(g_outputDescriptor, TIOCGWINSZ, &window) != 0 || window.ws_col == 0)
        return FallbackScreenSize;
    return {window.ws_col, window.ws_row > 0 ? window.ws_row : FallbackScreenSize.rows};
}

CTerminalSession::Redraw CTerminalSession::HandleSignals()
{
    Redraw redraw = Redraw::No;
    unsigned char signals[32];
    for (;;)
    {
        const auto count = read(m_signalRead, signals, sizeof signals);
        if (count <= 0)
            return redraw;
        for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
        {
            if (signals[i] == SIGTSTP)
                Stop();
            else if (signals[i] == SIGCONT)
                Take(); // whoever stopped the program may have changed the terminal's mode
            redraw = Redraw::Whole;
        }
    }
}

void CTerminalSession::End()
{
    if (!m_active)
        return;
    Release();
    for (std::size_t i = 0; i < std::size(AllSignals); ++i)
    {
        if (g_replaced[i])
            sigaction(AllSignals[i], &g_formerActions[i], nullptr);
        g_replaced[i] = false;
    }
    g_signalPipe = NoDescriptor;
    if (m_signalRead >= 0)
    {
        close(m_signalRead);
        close(m_signalWrite);
    }
    m_signalRead = m_signalWrite = NoDescriptor;
    g_sessionActive = false;
    m_active = false;
}

void CTerminalSession::Take()
{
    m_screen.flush();
    if (m_hasKeys)
    {
        termios singleKeys = g_savedMode;
        singleKeys.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        // The Enter key then arrives as CR, which presses the centre button; a line feed
        // from a pipe of keys, one a line, presses nothing.
        singleKeys.c_iflag &= ~static_cast<tcflag_t>(ICRNL | INLCR);
        singleKeys.c_cc[VMIN] = 1;
        singleKeys.c_cc[VTIME] = 0;
        // Set first: a signal between the two must give the mode back.
        g_modeApplied = 1;
        if (tcsetattr(g_inputDescriptor, TCSANOW, &singleKeys) != 0)
            g_modeApplied = 0;
    }
    if (m_hasScreen && !g_screenTaken)
    {
        g_screenTaken = 1;
        WriteAll(g_outputDescriptor, EnterAlternateScreen);
    }
}

void CTerminalSession::Release()
{
    m_screen.flush();
    GiveTerminalBack();
}

void CTerminalSession::Stop()
{
    Release();
    struct sigaction defaultAction
    {
    };
    struct sigaction ours
    {
    };
    defaultAction.sa_handler = SIG_DFL;
    sigemptyset(&defaultAction.sa_mask);
    sigaction(SIGTSTP, &defaultAction, &ours);
    raise(SIGTSTP); // returns once the program is continued
    sigaction(SIGTSTP, &ours, nullptr);
    Take();
}

void CTerminalSession::WatchSignals()
{
    const bool piped = MakePipe(m_signalRead, m_signalWrite);
    g_signalPipe = piped ? m_signalWrite : NoDescriptor;
    for (std::size_t i = 0; i < std::size(AllSignals); ++i)
    {
        const int signal = AllSignals[i];
        const bool watched = std::find(std::begin(WatchedSignals), std::end(WatchedSignals),
                                       signal) != std::end(WatchedSignals);
        if (watched && !piped)
            continue;
        // A signal the program was started to ignore stays ignored.
        if (sigaction(signal, nullptr, &g_formerActions[i]) != 0 ||
            g_formerActions[i].sa_handler == SIG_IGN)
            continue;
        struct sigaction action
        {
        };
        action.sa_handler = watched ? NoteSignal : EndOnSignal;
        sigemptyset(&action.sa_mask);
        // Restarted calls keep a write to the screen from failing half-way.
        action.sa_flags = SA_RESTART;
        g_replaced[i] = sigaction(signal, &action, nullptr) == 0;
    }
}
