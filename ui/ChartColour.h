// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>

#include "model/ChartSink.h"

// The sweep's colours are 0x00BBGGRR.
inline QColor ToQColor(mfb::Colour colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}
