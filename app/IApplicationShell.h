// What the application object needs of the framework that runs the dialog: the window
// toolkit, the terminal, or `play`'s event reader.
#pragma once

#include "platform/IDialogSurface.h"

class CMainDialog;

class IApplicationShell
{
public:
    virtual ~IApplicationShell() = default;
    // Names the settings key; nothing is stored under it.
    virtual void SetSettingsKey(const Text& name) = 0;
    // The surface the dialog draws on; owned by the shell.
    virtual IDialogSurface& Surface() = 0;
    // Runs the created dialog until it ends; returns the process's exit status.
    virtual int RunModal(CMainDialog& dialog) = 0;
};
