// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

// The main window's font family: "MS Sans Serif" where it is installed, else Liberation Sans
// (Debian's fonts-liberation2), whose metrics are close enough for the fixed layout.
QFont FormFont(int pixelSize = 13, bool bold = false);
