#include "frontends/WindowShell.h"

#include "app/MainDialog.h"
#include "app/RunnerApp.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
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
                        commandLine.tapGuardMilliseconds.value_or(DefaultTapGuardMilliseconds))))
    {
        m_surface.SetTheme(commandLine.theme.value_or(ColourTheme::Day));
    }

    void SetSettingsKey(const Text& name) override
    {
        QCoreApplication::setOrganizationName(QString::fromStdString(name));
    }
    IDialogSurface& Surface() override { return m_surface; }
    int RunModal(CMainDialog&) override
    {
        m_surface.RunModal();
        return 0;
    }

private:
    CQtDialogSurface m_surface;
};

constexpr const char* NoDisplayLine =
    "tavrino: no display to open a window on; the terminal version runs without one: "
    "tavrino --text\n";

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Qt's desktop platforms need a display server; the others (offscreen, eglfs, linuxfb, ...)
// draw without one.
bool DisplayLooksReachable()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const std::string_view name = platform != nullptr ? platform : "";
    if (!name.empty() && !name.starts_with("xcb") && !name.starts_with("wayland"))
        return true;
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

// Qt's warnings while it starts, held back until it is known whether a window can be had.
QString g_startWarnings;

// A display that is named but cannot be reached ends in a fatal message of Qt's own and an
// abort; the user gets our one line and status 2 instead.
void OnQtMessageDuringStart(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
    {
        std::fputs(NoDisplayLine, stderr);
        _exit(2);
    }
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_startWarnings += message + "\n";
}
} // namespace

int RunWindow(const CommandLine& commandLine, const Text& root, int argc, char** argv)
{
    if (!DisplayLooksReachable())
    {
        std::fputs(NoDisplayLine, stderr);
        return 2;
    }
    const QtMessageHandler previous = qInstallMessageHandler(OnQtMessageDuringStart);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);
    std::fputs(qPrintable(g_startWarnings), stderr);
    QApplication::setApplicationName("tavrino");
    CQtPictureDecoder decoder;
    CWindowShell shell(decoder, commandLine);
    return CRunnerApp().InitInstance(shell, root);
}
