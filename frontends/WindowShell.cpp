#include "frontends/WindowShell.h"

#include "app/DialogTexts.h"
#include "app/MainDialog.h"
#include "app/RunnerApp.h"
#include "frontends/DisplayCheck.h"
#include "frontends/ReloadReport.h"
#include "frontends/SpokenScreens.h"
#include "platform/FileChangeMonitor.h"
#include "platform/qt/AnnouncingSurface.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"
#include "platform/qt/QtSpeaker.h"
#include "platform/qt/TouchPointerHider.h"

#include <QApplication>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>
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
        if (m_watch == ListWatch::On)
            StartWatching(dialog);
        m_surface.RunModal();
        return 0;
    }

private:
    void StartWatching(CMainDialog& dialog)
    {
        // A list opened from the menu, or a text file that a pass loaded, joins the watch here.
        m_listLook.setInterval(500);
        QObject::connect(&m_listLook, &QTimer::timeout, [this, &dialog] { Follow(dialog); });
        m_listLook.start();
        // An editor may save in several writes: only a change that is followed by a quiet
        // moment is read.
        m_settle.setSingleShot(true);
        m_settle.setInterval(
            std::chrono::duration_cast<std::chrono::milliseconds>(CFileChangeMonitor::SettleTime));
        QObject::connect(&m_settle, &QTimer::timeout, [this, &dialog] { Settled(dialog); });
        const auto changed = [this](const QString&) { m_settle.start(); };
        QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, changed);
        QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, changed);
        m_noteEnd.setSingleShot(true);
        m_noteEnd.setInterval(ReloadNoteTime);
        QObject::connect(&m_noteEnd, &QTimer::timeout, [&dialog] { dialog.EndReloadNote(); });
    }

    // Watches the files of the list on the screen, and their folders: an editor that saves
    // by renaming a new file over the old one takes the old file out of the watch.
    void WatchFiles(const std::vector<Text>& files)
    {
        if (!m_watcher.files().isEmpty())
            m_watcher.removePaths(m_watcher.files());
        if (!m_watcher.directories().isEmpty())
            m_watcher.removePaths(m_watcher.directories());
        QStringList paths;
        for (const Text& file : files)
        {
            const QString path = QString::fromStdString(file);
            const QString folder = QFileInfo(path).absolutePath();
            if (QFileInfo::exists(path) && !paths.contains(path))
                paths << path;
            if (!paths.contains(folder))
                paths << folder;
        }
        if (!paths.isEmpty())
            m_watcher.addPaths(paths);
    }

    void Follow(CMainDialog& dialog)
    {
        const std::vector<Text> files = dialog.ListFiles();
        if (m_monitor.Watch(files))
            WatchFiles(files);
    }

    void Settled(CMainDialog& dialog)
    {
        const std::vector<Text> files = dialog.ListFiles();
        if (m_monitor.Watch(files) || files.empty())
        {
            WatchFiles(files);
            return;
        }
        WatchFiles(files);
        if (!m_monitor.HasChanged())
            return;
        const ReloadOutcome outcome = dialog.ReloadList();
        // A message box is open: tried again once it may have closed.
        if (outcome == ReloadOutcome::Busy)
        {
            m_settle.start();
            return;
        }
        m_monitor.TakeAsSeen();
        ReportReload(outcome, files.front(), dialog.State().g_appFolder, &m_decoder, std::cerr);
        if (outcome == ReloadOutcome::Reloaded)
            m_noteEnd.start();
    }

    CQtDialogSurface m_surface;
    std::unique_ptr<CQtSpeaker> m_speaker; // null without --speak
    CAnnouncingSurface m_announcing;
    ListWatch m_watch;
    IPictureDecoder& m_decoder;
    CFileChangeMonitor m_monitor;
    QFileSystemWatcher m_watcher;
    QTimer m_listLook;
    QTimer m_settle;
    QTimer m_noteEnd;
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
