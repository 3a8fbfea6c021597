// SPDX-License-Identifier: GPL-3.0-or-later
// The window program. It takes no arguments of its own and reads its catalogues from the working
// directory; the installed launcher picks that directory.
#include "ui/Application.h"
#include "ui/StartUp.h"

int main(int argc, char* argv[]) {
    Application application(argc, argv);
    return RunProgram(ShowCommandFromEnvironment());
}
