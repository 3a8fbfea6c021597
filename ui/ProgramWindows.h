// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

class TMainDlg;
class TAboutDlg;
class TGraphDlg;

// The six windows exist for the whole run, one each, created at start-up in this order: the main
// window, the About box, chart windows 1 to 4. Handlers reach the others through these references,
// which stay null until the window is created.
struct ProgramWindows {
    TMainDlg* MainDlg = nullptr;
    TAboutDlg* AboutDlg = nullptr;
    std::array<TGraphDlg*, 4> GraphDlg{};  // GraphDlg[k - 1] belongs to option k
};

ProgramWindows& Windows();
