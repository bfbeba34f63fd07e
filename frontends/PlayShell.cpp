#include "frontends/PlayShell.h"

#include "app/MainDialog.h"
#include "frontends/ReloadReport.h"
#include "frontends/ScreenJson.h"
#include "platform/ControlId.h"

#include <string>

CPlayShell::CPlayShell(const CommandLine& commandLine, IPictureDecoder* decoder,
                       std::istream* events, Text eventsName, std::ostream& output,
                       std::ostream& errors)
    : m_commandLine(commandLine), m_decoder(decoder), m_surface(decoder, commandLine.screen),
      m_events(events), m_eventsName(std::move(eventsName)), m_output(output), m_errors(errors)
{
}

void CPlayShell::WriteScreen(std::string_view event, const CMainDialog& dialog)
{
    // A large list would otherwise be written out whole after every press.
    const std::uint64_t generation = dialog.Store().Generation();
    const bool storeChanged = !m_storeGenerationWritten || *m_storeGenerationWritten != generation;
    const StoreKey storeKey = m_commandLine.storeOutput == StoreOutput::EveryLine || storeChanged
                                  ? StoreKey::Written
                                  : StoreKey::Left;
    if (storeKey == StoreKey::Written)
        m_storeGenerationWritten = generation;
    WriteScreenJson(m_output, event, m_surface.TakeMessages(), m_surface, dialog, storeKey);
    m_output << '\n';
    // A caller reading our output may wait for this line before it sends the next event.
    m_output.flush();
}

void CPlayShell::Run(const PlayEvent& event, CMainDialog& dialog)
{
    switch (event.kind)
    {
    case PlayEventKind::Centre:
        m_surface.Click(ControlId::CentreButton);
        break;
    case PlayEventKind::Left:
        m_surface.Click(ControlId::LeftButton);
        break;
    case PlayEventKind::Right:
        m_surface.Click(ControlId::RightButton);
        break;
    case PlayEventKind::Picture:
        m_surface.Click(ControlId::Picture);
        break;
    case PlayEventKind::Menu:
        m_surface.Click(ControlId::MenuButtons[event.menuIndex]);
        break;
    case PlayEventKind::Tick:
        // Once the timer stops, the remaining ticks have nowhere to go.
        for (std::int64_t i = 0; i < event.count && m_surface.Tick(); ++i)
        {
        }
        break;
    case PlayEventKind::Size:
        m_surface.Resize(event.size);
        break;
    case PlayEventKind::Close:
        m_surface.Close();
        break;
    case PlayEventKind::Reload:
    {
        // Taken before: a list that breaks off leaves for its sub-menu.
        const std::vector<Text> files = dialog.ListFiles();
        const ReloadOutcome outcome = dialog.ReloadList();
        if (!files.empty())
            ReportReload(outcome, files.front(), dialog.State().g_appFolder, m_decoder, m_errors);
        break;
    }
    }
}

int CPlayShell::RunModal(CMainDialog& dialog)
{
    WriteScreen("init", dialog);
    const auto handle = [&](std::string_view text, const Text& where)
    {
        const auto event = ParsePlayEvent(text);
        if (!event)
        {
            m_errors << where << "unknown event '" << text << "'\n";
            return false;
        }
        Run(*event, dialog);
        WriteScreen(text, dialog);
        return true;
    };
    for (const auto& text : m_commandLine.events)
    {
        if (m_surface.HasEnded())
            return 0;
        if (!handle(text, "tavrino play: "))
            return 2;
    }
    if (m_events == nullptr)
        return 0;
    std::string line;
    for (int number = 1; !m_surface.HasEnded(); ++number)
    {
        const EventLineRead read = ReadEventLine(*m_events, line);
        if (read == EventLineRead::End)
            break;
        if (read == EventLineRead::TooLong)
        {
            m_errors << m_eventsName << ":" << number << ": line longer than " << LongestEventLine
                     << " bytes\n";
            return 2;
        }
        if (IsSkippedEventLine(line))
            continue;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!handle(TrimCharacters(line, " \t"), m_eventsName + ":" + DecimalText(number) + ": "))
            return 2;
    }
    return 0;
}
