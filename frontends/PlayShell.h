// `tavrino play`: runs the dialog on the headless surface, driven by events, and writes
// every screen as one line of JSON.
#pragma once

#include "app/CommandLine.h"
#include "app/IApplicationShell.h"
#include "frontends/PlayEvent.h"
#include "platform/headless/HeadlessSurface.h"

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>

class CPlayShell final : public IApplicationShell
{
public:
    // `events` (may be null) is read line by line after the events of the command line;
    // `eventsName` names it in error messages. Nothing is owned.
    CPlayShell(const CommandLine& commandLine, IPictureDecoder* decoder, std::istream* events,
               Text eventsName, std::ostream& output, std::ostream& errors);

    void SetSettingsKey(const Text&) override {}
    IDialogSurface& Surface() override { return m_surface; }
    // 0 when every event ran (or the dialog ended), 2 at the first unknown event.
    int RunModal(CMainDialog& dialog) override;

private:
    void Run(const PlayEvent& event, CMainDialog& dialog);
    void WriteScreen(std::string_view event, const CMainDialog& dialog);

    const CommandLine& m_commandLine;
    IPictureDecoder* m_decoder;
    CHeadlessSurface m_surface;
    std::istream* m_events;
    Text m_eventsName;
    std::ostream& m_output;
    std::ostream& m_errors;
    std::optional<std::uint64_t> m_storeGenerationWritten; // of the store last written out
};
