// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace mfb::cli {

// The order of the motor and battery lists: byte order with case ignored, Latin-1 letters
// included, since catalogue bytes are Latin-1. It does not depend on the user's collation, so an
// index means the same line on every machine; `--list` shows the order in use.
bool CaseInsensitiveLess(const std::string& a, const std::string& b);

}  // namespace mfb::cli
