#include "frontends/WindowListWatch.h"

#include "app/MainDialog.h"
#include "frontends/ReloadReport.h"

#include <QFileInfo>

CWindowListWatch::CWindowListWatch(CMainDialog& dialog, IPictureDecoder* decoder,
                                   std::ostream& errors)
    : m_dialog(dialog), m_decoder(decoder), m_errors(errors)
{
    // A list opened from the menu, or a text file that a pass loaded, joins the watch here.
    m_listLook.setInterval(500);
    QObject::connect(&m_listLook, &QTimer::timeout, [this] { Follow(); });
    m_listLook.start();
    // An editor may save in several writes: only a change followed by a quiet moment is read.
    m_settle.setSingleShot(true);
    m_settle.setInterval(
        std::chrono::duration_cast<std::chrono::milliseconds>(CFileChangeMonitor::SettleTime));
    QObject::connect(&m_settle, &QTimer::timeout, [this] { Settled(); });
    const auto changed = [this](const QString&) { m_settle.start(); };
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, changed);
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, changed);
    m_noteEnd.setSingleShot(true);
    m_noteEnd.setInterval(ReloadNoteTime);
    QObject::connect(&m_noteEnd, &QTimer::timeout, [this] { m_dialog.EndReloadNote(); });
}

// The folders too: an editor that saves by renaming a new file over the old one takes the old
// file out of Qt's watch, and a list deleted and written anew appears only in its folder.
void CWindowListWatch::WatchFiles(const std::vector<Text>& files)
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

void CWindowListWatch::Follow()
{
    const std::vector<Text> files = m_dialog.ListFiles();
    if (m_monitor.Watch(files))
        WatchFiles(files);
}

void CWindowListWatch::Settled()
{
    const std::vector<Text> files = m_dialog.ListFiles();
    const bool otherFiles = m_monitor.Watch(files);
    WatchFiles(files);
    if (otherFiles || files.empty() || !m_monitor.HasChanged())
        return;
    const ReloadOutcome outcome = m_dialog.ReloadList();
    // A message box is open: tried again once it may have closed.
    if (outcome == ReloadOutcome::Busy)
    {
        m_settle.start();
        return;
    }
    m_monitor.TakeAsSeen();
    ReportReload(outcome, files.front(), m_dialog.State().g_appFolder, m_decoder, m_errors);
    if (outcome == ReloadOutcome::Reloaded)
        m_noteEnd.start();
}
