// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/LineOrder.h"

#include <algorithm>

#include "catalogue/Choice.h"

namespace mfb::cli {

bool CaseInsensitiveLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}

}  // namespace mfb::cli
