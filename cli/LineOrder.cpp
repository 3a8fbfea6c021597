// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/LineOrder.h"

#include <algorithm>

namespace mfb::cli {

unsigned char FoldCase(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 'A' && u <= 'Z') return static_cast<unsigned char>(u + 0x20);
    // Latin-1 capitals À..Þ sit 0x20 below their small letters; 0xD7 is the multiplication sign.
    if (u >= 0xC0 && u <= 0xDE && u != 0xD7) return static_cast<unsigned char>(u + 0x20);
    return u;
}

bool CaseInsensitiveLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldCase(x) < FoldCase(y); });
}

}  // namespace mfb::cli
