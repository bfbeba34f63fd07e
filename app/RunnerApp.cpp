#include "app/RunnerApp.h"

#include "app/DialogTexts.h"
#include "app/MainDialog.h"

int CRunnerApp::InitInstance(IApplicationShell& shell, const Text& programFolder)
{
    shell.SetSettingsKey(DialogText::SettingsKey);
    CMainDialog dialog(shell.Surface(), programFolder);
    if (!dialog.Create())
        return 1;
    // How the dialog ended does not matter: either way the program ends.
    return shell.RunModal(dialog);
}
