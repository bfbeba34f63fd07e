#include "frontends/TerminalShell.h"

#include "app/MainDialog.h"
#include "platform/ControlId.h"

#include <cerrno>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace
{
constexpr std::size_t LineWidth = 72;

// Keys of the buttons, laid out as the buttons lie under the text.
constexpr char LeftKey = 'a';
constexpr char CentreKey = 's';
constexpr char RightKey = 'd';
constexpr char PictureKey = 'b';
constexpr char QuitKey = 'q';

// Switches the terminal to single keys without echo for as long as it lives.
class CSingleKeyMode
{
public:
    explicit CSingleKeyMode(int descriptor) : m_descriptor(descriptor)
    {
        if (!isatty(descriptor) || tcgetattr(descriptor, &m_saved) != 0)
            return;
        termios raw = m_saved;
        raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
        raw.c_cc[VMIN] = 1;
        raw.c_cc[VTIME] = 0;
        m_active = tcsetattr(descriptor, TCSANOW, &raw) == 0;
    }
    ~CSingleKeyMode()
    {
        if (m_active)
            tcsetattr(m_descriptor, TCSANOW, &m_saved);
    }
    CSingleKeyMode(const CSingleKeyMode&) = delete;
    CSingleKeyMode& operator=(const CSingleKeyMode&) = delete;

private:
    int m_descriptor;
    termios m_saved{};
    bool m_active = false;
};

bool IsShown(const CHeadlessSurface& surface, int id)
{
    const auto found = surface.Controls().find(id);
    return found != surface.Controls().end() && found->second.visibility == Visibility::Shown;
}

// Wraps each paragraph at word boundaries; counts UTF-8 characters, not bytes.
Text Wrap(const Text& text, const Text& indent)
{
    Text result;
    std::size_t start = 0;
    while (start <= text.size())
    {
        auto end = text.find('\n', start);
        if (end == Text::npos)
            end = text.size();
        const std::string_view paragraph(text.data() + start, end - start);
        Text line;
        std::size_t lineCharacters = 0;
        std::size_t position = 0;
        while (position <= paragraph.size())
        {
            auto space = paragraph.find(' ', position);
            if (space == std::string_view::npos)
                space = paragraph.size();
            const auto word = paragraph.substr(position, space - position);
            std::size_t wordCharacters = 0;
            for (const char c : word)
                wordCharacters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
            if (lineCharacters > 0 && lineCharacters + 1 + wordCharacters > LineWidth)
            {
                result += indent + line + "\n";
                line.clear();
                lineCharacters = 0;
            }
            if (lineCharacters > 0)
            {
                line += ' ';
                ++lineCharacters;
            }
            line += word;
            lineCharacters += wordCharacters;
            position = space + 1;
        }
        result += indent + line + "\n";
        start = end + 1;
    }
    return result;
}
} // namespace

CTerminalShell::CTerminalShell(IPictureDecoder* decoder, int input, std::ostream& output)
    : m_surface(decoder), m_input(input), m_output(output), m_clearScreen(isatty(STDOUT_FILENO))
{
    m_surface.SetMessageBoxHandler([this](const Text& text) { ShowBox(text); });
}

Text CTerminalShell::RenderScreen(const CHeadlessSurface& surface)
{
    const auto text = [&](int id) { return MakeDisplayable(surface.GetControlText(id)); };
    const Text rule(LineWidth, '-');
    Text screen = rule + "\n";
    if (IsShown(surface, ControlId::Heading))
        screen += Wrap(text(ControlId::Heading), "  ");
    if (IsShown(surface, ControlId::SubHeading))
        screen += Wrap(text(ControlId::SubHeading), "  ");
    screen += rule + "\n";
    if (IsShown(surface, ControlId::BodyText))
        screen += Wrap(text(ControlId::BodyText), "  ");
    const auto picture = surface.Controls().contains(ControlId::Picture)
                             ? surface.Controls().at(ControlId::Picture).picture
                             : nullptr;
    if (IsShown(surface, ControlId::Picture) && picture)
    {
        screen += "  [" + Text(1, PictureKey) +
                  "] Bild: " + MakeDisplayable(picture->SourceFile()) + " (" +
                  DecimalText(picture->Width()) + " x " + DecimalText(picture->Height()) + ")\n";
    }
    for (int i = 0; i < 6; ++i)
    {
        const int id = ControlId::MenuButtons[i];
        if (IsShown(surface, id))
            screen += "  [" + DecimalText(i + 1) + "] " + text(id) + "\n";
    }
    Text buttons;
    const std::pair<char, int> navigation[] = {{LeftKey, ControlId::LeftButton},
                                               {CentreKey, ControlId::CentreButton},
                                               {RightKey, ControlId::RightButton}};
    for (const auto& [key, id] : navigation)
    {
        if (IsShown(surface, id))
            buttons += "  [" + Text(1, key) + "] " + text(id);
    }
    screen += rule + "\n" + buttons + "  [" + Text(1, QuitKey) + "] Beenden\n";
    return screen;
}

void CTerminalShell::Draw(const Text& extra)
{
    const Text screen = RenderScreen(m_surface) + extra;
    if (screen == m_lastDrawn)
        return;
    m_lastDrawn = screen;
    if (m_clearScreen)
        m_output << "\x1b[H\x1b[2J";
    m_output << screen;
    m_output.flush();
}

CTerminalShell::Wait CTerminalShell::WaitForKey(char& key)
{
    using Clock = std::chrono::steady_clock;
    for (;;)
    {
        // A timer that was started again begins a full period.
        if (!m_surface.IsTimerRunning())
            m_nextTick.reset();
        else if (!m_nextTick || m_surface.TimerStarts() != m_seenTimerStarts)
            m_nextTick = Clock::now() + std::chrono::seconds(1);
        m_seenTimerStarts = m_surface.TimerStarts();

        int timeout = -1;
        if (m_nextTick)
        {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*m_nextTick - Clock::now());
            timeout = static_cast<int>(std::max<long long>(0, left.count()));
        }
        pollfd descriptor{m_input, POLLIN, 0};
        const int ready = poll(&descriptor, 1, timeout);
        if (ready < 0 && errno != EINTR)
            return Wait::EndOfInput;
        if (ready > 0)
        {
            const auto count = read(m_input, &key, 1);
            if (count == 1)
                return Wait::Key;
            if (count == 0 || errno != EINTR)
                return Wait::EndOfInput;
            continue;
        }
        if (m_nextTick && Clock::now() >= *m_nextTick)
        {
            *m_nextTick += std::chrono::seconds(1);
            m_seenTimerStarts = m_surface.TimerStarts();
            m_surface.Tick();
            Draw(m_openBox);
        }
    }
}

void CTerminalShell::ShowBox(const Text& text)
{
    const Text previousBox = m_openBox;
    m_openBox = "\n  +-- tavrino --\n" + Wrap(MakeDisplayable(text), "  | ") + "  +-- [Enter] OK\n";
    Draw(m_openBox);
    char key = 0;
    while (WaitForKey(key) == Wait::Key && key != '\n' && key != '\r')
    {
    }
    m_openBox = previousBox;
    Draw(m_openBox);
}

int CTerminalShell::RunModal(CMainDialog&)
{
    CSingleKeyMode singleKeys(m_input);
    while (!m_surface.HasEnded())
    {
        m_surface.TakeMessages();
        Draw();
        char key = 0;
        if (WaitForKey(key) == Wait::EndOfInput)
        {
            m_surface.Close();
            break;
        }
        if (key >= '1' && key <= '6')
        {
            const int id = ControlId::MenuButtons[key - '1'];
            if (IsShown(m_surface, id))
                m_surface.Click(id);
        }
        const std::pair<char, int> keys[] = {{LeftKey, ControlId::LeftButton},
                                             {CentreKey, ControlId::CentreButton},
                                             {RightKey, ControlId::RightButton},
                                             {PictureKey, ControlId::Picture}};
        for (const auto& [buttonKey, id] : keys)
        {
            if (key == buttonKey && IsShown(m_surface, id))
                m_surface.Click(id);
        }
        if (key == QuitKey)
            m_surface.Close();
    }
    m_output << "\n";
    m_output.flush();
    return 0;
}
