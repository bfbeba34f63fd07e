#include "frontends/WindowShell.h"

#include "app/DialogTexts.h"
#include "app/MainDialog.h"
#include "app/RunnerApp.h"
#include "frontends/DisplayCheck.h"
#include "frontends/SpokenScreens.h"
#include "frontends/WindowListWatch.h"
#include "platform/qt/AnnouncingSurface.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"
#include "platform/qt/QtSpeaker.h"
#include "platform/qt/TouchPointerHider.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>

namespace
{
class CWindowShell final : public IApplicationShell
{
public:
    CWindowShell(IPictureDecoder& decoder, const CommandLine& commandLine)
        : m_surface(decoder, "tavrino",
                    commandLine.windowMode == WindowMode::FullScreen ? CQtDialogSurface::FullScreen
                                                                     : CQtDialogSurface::Window,
                    commandLine.windowSize
                        ? QSize(commandLine.windowSize->width, commandLine.windowSize->height)
                        : QSize(480, 640),
                    CTapGuard(std::chrono::milliseconds(
                        commandLine.tapGuardMilliseconds.value_or(DefaultTapGuardMilliseconds)))),
          m_speaker(commandLine.speech == Speech::ReadAloud ? std::make_unique<CQtSpeaker>()
                                                            : nullptr),
          m_announcing(m_surface, m_speaker.get(), DialogText::StopwatchRanOut),
          m_watch(commandLine.watch), m_decoder(decoder)
    {
        m_surface.SetTheme(commandLine.theme.value_or(ColourTheme::Day));
    }

    void SetSettingsKey(const Text& name) override
    {
        QCoreApplication::setOrganizationName(QString::fromStdString(name));
    }
    IDialogSurface& Surface() override { return m_announcing; }
    int RunModal(CMainDialog& dialog) override
    {
        m_announcing.SetScreenKindSource([&dialog] { return SpokenScreenOf(dialog.State()); });
        std::unique_ptr<CWindowListWatch> watch;
        if (m_watch == ListWatch::On)
            watch = std::make_unique<CWindowListWatch>(dialog, &m_decoder, std::cerr);
        m_surface.RunModal();
        return 0;
    }

private:
    CQtDialogSurface m_surface;
    std::unique_ptr<CQtSpeaker> m_speaker; // null without --speak
    CAnnouncingSurface m_announcing;
    ListWatch m_watch;
    IPictureDecoder& m_decoder;
};

constexpr const char* NoDisplayLine =
    "tavrino: no display to open a window on; the terminal version runs without one: "
    "tavrino --text\n";

std::string_view Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Qt's warnings while it starts, held back until it is known whether a window can be had.
QString g_startWarnings;
// What is said when Qt cannot start: a device platform names itself, a desktop one the display.
std::string g_startFailureLine = NoDisplayLine;

// A display that is named but cannot be reached ends in a fatal message of Qt's own and an
// abort; the user gets our one line and status 2 instead.
void OnQtMessageDuringStart(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
    {
        std::fputs(g_startFailureLine.c_str(), stderr);
        _exit(2);
    }
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_startWarnings += message + "\n";
}
} // namespace

int RunWindow(const CommandLine& commandLine, const Text& root, int argc, char** argv)
{
    // Qt's -platform wins over QT_QPA_PLATFORM.
    const std::string_view platform =
        commandLine.qtPlatform.empty() ? Variable("QT_QPA_PLATFORM") : commandLine.qtPlatform;
    if (!DisplayLooksReachable({platform, Variable("DISPLAY"), Variable("WAYLAND_DISPLAY")}))
    {
        std::fputs(NoDisplayLine, stderr);
        return 2;
    }
    if (PlatformNeedsNoDisplay(platform))
        g_startFailureLine = "tavrino: Qt's platform '" + std::string(platform) +
                             "' found no screen to draw on; the terminal version runs without "
                             "one: tavrino --text\n";
    const QtMessageHandler previous = qInstallMessageHandler(OnQtMessageDuringStart);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    // linuxfb without a framebuffer starts without a screen, and the first widget that asks
    // for one would crash. Ended at once, as a fatal start is: the half-started platform's
    // input handlers are never taken down, and nothing of the program's needs finishing yet.
    if (QGuiApplication::primaryScreen() == nullptr)
    {
        std::fputs(g_startFailureLine.c_str(), stderr);
        std::fflush(stderr);
        _exit(2);
    }
    std::fputs(qPrintable(g_startWarnings), stderr);
    QApplication::setApplicationName("tavrino");
    // Wayland shells match the window to its desktop entry, and so to its icon, by this name.
    QGuiApplication::setDesktopFileName(TAVRINO_APP_ID);
    // On a kiosk the pointer would sit where the last finger was.
    std::unique_ptr<CTouchPointerHider> pointerHider;
    if (commandLine.windowMode == WindowMode::FullScreen)
    {
        pointerHider = std::make_unique<CTouchPointerHider>();
        application.installEventFilter(pointerHider.get());
    }
    CQtPictureDecoder decoder;
    CWindowShell shell(decoder, commandLine);
    return CRunnerApp().InitInstance(shell, root);
}
