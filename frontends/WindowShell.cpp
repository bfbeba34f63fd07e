#include "frontends/WindowShell.h"

#include "app/MainDialog.h"
#include "app/RunnerApp.h"
#include "platform/qt/QtDialogSurface.h"
#include "platform/qt/QtPictureDecoder.h"

#include <QApplication>

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
                        : QSize(480, 640))
    {
    }

    void InitializeShell() override {}
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
} // namespace

int RunWindow(const CommandLine& commandLine, const Text& root, int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("tavrino");
    CQtPictureDecoder decoder;
    CWindowShell shell(decoder, commandLine);
    return CRunnerApp().InitInstance(shell, root);
}
