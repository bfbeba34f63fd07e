#include "FirstFrameReporter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>

bool CFirstFrameReporter::eventFilter(QObject* watched, QEvent* event)
{
    if (!m_painted && event->type() == QEvent::Paint)
    {
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (widget != nullptr && widget->isWindow())
        {
            m_painted = true;
            // The paint of the window, its children and the flush to the screen are handled
            // in one go; a zero timer fires only after all of it.
            QTimer::singleShot(0,
                               []
                               {
                                   std::fputs("frame\n", stdout);
                                   std::fflush(stdout);
                                   QCoreApplication::exit(0);
                               });
        }
    }
    return false;
}

namespace
{
// Runs inside the constructor of the application, before the program makes any window.
void InstallFirstFrameReporter()
{
    QCoreApplication* application = QCoreApplication::instance();
    application->installEventFilter(new CFirstFrameReporter(application));
}
} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallFirstFrameReporter)
