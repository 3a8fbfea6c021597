// SPDX-License-Identifier: GPL-3.0-or-later
// The window program. It reads its catalogues from the working directory (the installed launcher
// picks that directory) and takes one argument: a setup file to open at start.
#include "ui/Application.h"
#include "ui/StartUp.h"

int main(int argc, char* argv[]) {
    Application application(argc, argv);
    return RunProgram(ShowCommandFromEnvironment(), QApplication::arguments().value(1));
}
