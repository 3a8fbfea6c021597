// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>

namespace mfb::cli {

std::string_view HelpText();

}  // namespace mfb::cli
