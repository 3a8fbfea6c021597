// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ProgramWindows.h"

ProgramWindows& Windows() {
    static ProgramWindows windows;
    return windows;
}
