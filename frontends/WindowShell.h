// The touch program: the dialog in a Qt window.
#pragma once

#include "app/CommandLine.h"
#include "app/IApplicationShell.h"

// Creates the application, runs the dialog in a window until it ends; returns the exit
// status. `root` is the program folder, or empty for the program file's folder.
int RunWindow(const CommandLine& commandLine, const Text& root, int argc, char** argv);
