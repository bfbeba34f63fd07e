// The window's watch on the list on the screen: Qt tells when its files or their folders
// change, and once they have been quiet for a moment the dialog reads the list again. The
// heading's note is taken away after its time, and the findings go to `errors`.
#pragma once

#include "platform/FileChangeMonitor.h"
#include "platform/IPictureDecoder.h"

#include <QFileSystemWatcher>
#include <QTimer>
#include <ostream>

class CMainDialog;

class CWindowListWatch
{
public:
    // Watches from now on. Nothing is owned; all must outlive the watch. `decoder` may be
    // null.
    CWindowListWatch(CMainDialog& dialog, IPictureDecoder* decoder, std::ostream& errors);
    CWindowListWatch(const CWindowListWatch&) = delete;
    CWindowListWatch& operator=(const CWindowListWatch&) = delete;

private:
    void WatchFiles(const std::vector<Text>& files);
    void Follow();
    void Settled();

    CMainDialog& m_dialog;
    IPictureDecoder* m_decoder;
    std::ostream& m_errors;
    CFileChangeMonitor m_monitor;
    QFileSystemWatcher m_watcher;
    QTimer m_listLook;
    QTimer m_settle;
    QTimer m_noteEnd;
};
