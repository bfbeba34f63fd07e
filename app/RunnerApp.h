// The application object: names the settings key, builds the one dialog and runs it until
// it ends, which ends the program.
#pragma once

#include "app/IApplicationShell.h"

class CRunnerApp
{
public:
    // Returns the process's exit status: the shell's, or 1 when the dialog cannot be
    // created (a build without its templates).
    int InitInstance(IApplicationShell& shell, const Text& programFolder);
};
