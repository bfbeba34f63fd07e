#include "frontends/TerminalShell.h"

#include "app/MainDialog.h"
#include "frontends/ReloadReport.h"
#include "frontends/TerminalSequences.h"
#include "platform/ControlId.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <unistd.h>

namespace
{
// How long the rest of an escape sequence may take: a terminal sends it at once, so an ESC
// still alone after this was the Escape key.
constexpr std::chrono::milliseconds EscapeSequenceWait{50};

// Taken before main: once standard input is closed, the next descriptor opened (Qt's event
// loop opens one at start) takes its number and would be read as keys.
const bool g_standardInputOpenAtStart = fcntl(STDIN_FILENO, F_GETFD) != -1;

bool IsInputClosed(int input)
{
    return fcntl(input, F_GETFD) == -1 || (input == STDIN_FILENO && !g_standardInputOpenAtStart);
}

bool IsEnter(const KeyPress& key)
{
    return key.kind == KeyKind::Enter ||
           (key.kind == KeyKind::Character && (key.character == '\n' || key.character == '\r'));
}

char LetterOf(int controlId)
{
    for (const auto& [key, id] : NavigationKeys)
    {
        if (id == controlId)
            return key;
    }
    return 0;
}

// The window's keys for the buttons at their places, beside the letters of the terminal.
std::optional<char> ButtonLetter(const KeyPress& key)
{
    if (key.kind == KeyKind::Left)
        return LetterOf(ControlId::LeftButton);
    if (key.kind == KeyKind::Right)
        return LetterOf(ControlId::RightButton);
    if (key.kind == KeyKind::Enter || (key.kind == KeyKind::Character && key.character == '\r'))
        return LetterOf(ControlId::CentreButton);
    if (key.kind == KeyKind::Character && key.character == ' ')
        return PictureKey;
    if (key.kind == KeyKind::Character)
        return key.character;
    return std::nullopt;
}
} // namespace

CTerminalShell::CTerminalShell(IPictureDecoder* decoder, int input, std::ostream& output)
    : CTerminalShell(decoder, input, output,
                     &output == &std::cout ? STDOUT_FILENO : CTerminalSession::NoDescriptor)
{
}

CTerminalShell::CTerminalShell(IPictureDecoder* decoder, int input, std::ostream& output,
                               int outputDescriptor)
    : m_surface(decoder), m_input(input), m_inputEnded(IsInputClosed(input)), m_output(output),
      m_session(input, outputDescriptor, output), m_size(m_session.Size()), m_decoder(decoder)
{
    m_surface.SetMessageBoxHandler([this](const Text& text) { ShowBox(text); });
}

void CTerminalShell::WatchList(std::ostream& errors)
{
    m_watchErrors = &errors;
}

void CTerminalShell::LookAtList(Clock::time_point now)
{
    const std::vector<Text> files = m_dialog->ListFiles();
    // Another list, or none: watched as it is now.
    if (m_listMonitor.Watch(files) || files.empty() || !m_listMonitor.PollSettled(now))
        return;
    const ReloadOutcome outcome = m_dialog->ReloadList();
    // A message box is waiting for Enter: looked at again after it.
    if (outcome == ReloadOutcome::Busy)
        return;
    m_listMonitor.TakeAsSeen();
    ReportReload(outcome, files.front(), m_dialog->State().g_appFolder, m_decoder, *m_watchErrors);
    if (outcome == ReloadOutcome::Reloaded)
        m_reloadNoteEnd = now + ReloadNoteTime;
    m_firstBodyLine = 0;
    // Whole: what went to standard error may have been written over the screen.
    m_shownLines.reset();
    Draw(Redraw::Whole);
}

Text CTerminalShell::RenderScreen(const CHeadlessSurface& surface, TerminalSize size)
{
    return PlainScreenText(LayOutScreen(surface, std::nullopt, size, 0).lines);
}

void CTerminalShell::Draw(Redraw redraw)
{
    const ScreenLayout layout = LayOutScreen(m_surface, m_openBox, m_size, m_firstBodyLine);
    m_firstBodyLine = layout.firstBodyLine;
    m_bodyWindow = layout.bodyWindow;
    if (m_shownLines && layout.lines == *m_shownLines)
        return;
    if (!m_session.HasScreen())
        m_output << PlainScreenText(layout.lines);
    else
    {
        std::optional<Text> changes;
        if (redraw == Redraw::ChangedLines && m_shownLines)
            changes = ChangedLinesSequence(*m_shownLines, layout.lines);
        m_output << (changes ? *changes : WholeScreenSequence(layout.lines));
    }
    m_shownLines = layout.lines;
    m_output.flush();
}

void CTerminalShell::ReadKeys()
{
    unsigned char bytes[64];
    const auto count = read(m_input, bytes, sizeof bytes);
    if (count < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (count <= 0)
    {
        m_inputEnded = true;
        m_keyParser.Abandon();
        m_escapeDeadline.reset();
        return;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(count); ++i)
    {
        if (const auto key = m_keyParser.Feed(bytes[i]))
            m_keys.push_back(*key);
    }
    m_escapeDeadline.reset();
    if (m_keyParser.IsPending())
        m_escapeDeadline = Clock::now() + EscapeSequenceWait;
}

CTerminalShell::Wait CTerminalShell::WaitForKey(KeyPress& key)
{
    for (;;)
    {
        if (!m_keys.empty())
        {
            key = m_keys.front();
            m_keys.pop_front();
            return Wait::Key;
        }
        if (m_inputEnded)
            return Wait::EndOfInput;

        // A timer that was started again begins a full period.
        if (!m_surface.IsTimerRunning())
            m_nextTick.reset();
        else if (!m_nextTick || m_surface.TimerStarts() != m_seenTimerStarts)
            m_nextTick = Clock::now() + std::chrono::seconds(1);
        m_seenTimerStarts = m_surface.TimerStarts();

        const bool watching = m_watchErrors != nullptr && m_dialog != nullptr;
        if (watching && !m_nextListLook)
            m_nextListLook = Clock::now();
        auto deadline = m_nextTick;
        for (const auto& other :
             {m_escapeDeadline, watching ? m_nextListLook : std::nullopt, m_reloadNoteEnd})
        {
            if (other && (!deadline || *other < *deadline))
                deadline = other;
        }
        int timeout = -1;
        if (deadline)
        {
            // Rounded up, so that the wait does not end a fraction too early and spin.
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
            timeout = static_cast<int>(std::max<long long>(0, left.count()));
        }
        pollfd descriptors[2] = {{m_input, POLLIN, 0}, {m_session.SignalDescriptor(), POLLIN, 0}};
        const int ready = poll(descriptors, 2, timeout);
        if (ready < 0 && errno != EINTR)
            return Wait::EndOfInput;
        // Plain output has no screen to restore or fit.
        if (ready > 0 && descriptors[1].revents != 0 &&
            m_session.HandleSignals() == CTerminalSession::Redraw::Whole && m_session.HasScreen())
        {
            m_size = m_session.Size();
            m_shownLines.reset();
            Draw(Redraw::Whole);
        }
        if (ready > 0 && descriptors[0].revents != 0)
            ReadKeys();

        const auto now = Clock::now();
        if (m_escapeDeadline && now >= *m_escapeDeadline)
        {
            m_keyParser.Abandon();
            m_escapeDeadline.reset();
        }
        if (m_nextTick && now >= *m_nextTick)
        {
            *m_nextTick += std::chrono::seconds(1);
            m_seenTimerStarts = m_surface.TimerStarts();
            m_surface.Tick();
            Draw(Redraw::ChangedLines);
        }
        if (m_reloadNoteEnd && now >= *m_reloadNoteEnd)
        {
            m_reloadNoteEnd.reset();
            m_dialog->EndReloadNote();
            Draw(Redraw::ChangedLines);
        }
        if (watching && now >= *m_nextListLook)
        {
            // Often enough that a change is read soon after it has settled.
            m_nextListLook = now + CFileChangeMonitor::SettleTime / 4;
            LookAtList(now);
        }
    }
}

void CTerminalShell::ShowBox(const Text& text)
{
    const auto previousBox = m_openBox;
    m_openBox = text;
    Draw(Redraw::Whole);
    KeyPress key;
    while (WaitForKey(key) == Wait::Key && !IsEnter(key))
        Scroll(key);
    m_openBox = previousBox;
    Draw(Redraw::Whole);
}

bool CTerminalShell::Scroll(const KeyPress& key)
{
    const bool character = key.kind == KeyKind::Character;
    const std::size_t page = std::max<std::size_t>(m_bodyWindow, 1);
    if (key.kind == KeyKind::Up || (character && key.character == 'k'))
        m_firstBodyLine -= std::min<std::size_t>(m_firstBodyLine, 1);
    else if (key.kind == KeyKind::Down || (character && key.character == 'j'))
        ++m_firstBodyLine; // the layout keeps it within the body
    else if (key.kind == KeyKind::PageUp)
        m_firstBodyLine -= std::min(m_firstBodyLine, page);
    else if (key.kind == KeyKind::PageDown)
        m_firstBodyLine += page;
    else
        return false;
    Draw(Redraw::ChangedLines);
    return true;
}

void CTerminalShell::PressButton(char key)
{
    int id = 0;
    if (key >= '1' && key <= '6')
        id = ControlId::MenuButtons[key - '1'];
    for (const auto& [buttonKey, buttonId] : NavigationKeys)
    {
        if (key == buttonKey)
            id = buttonId;
    }
    if (key == PictureKey)
        id = ControlId::Picture;
    if (id != 0 && IsControlShown(m_surface, id))
    {
        // What the press brings up is read from its top.
        m_firstBodyLine = 0;
        m_surface.Click(id);
    }
    if (key == QuitKey)
        m_surface.Close();
}

int CTerminalShell::RunModal(CMainDialog& dialog)
{
    m_dialog = &dialog;
    while (!m_surface.HasEnded())
    {
        m_surface.TakeMessages();
        Draw(Redraw::Whole);
        KeyPress key;
        if (WaitForKey(key) == Wait::EndOfInput)
        {
            m_surface.Close();
            break;
        }
        if (Scroll(key))
            continue;
        if (const std::optional<char> letter = ButtonLetter(key))
            PressButton(*letter);
    }
    // The alternate screen goes away with the session and gives back what was there before.
    const bool screen = m_session.HasScreen();
    m_session.End();
    if (!screen)
        m_output << "\n";
    m_output.flush();
    m_dialog = nullptr;
    return 0;
}
