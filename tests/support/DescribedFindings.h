// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "catalogue/Limits.h"

namespace mfb::test {

// "LINE:FIRST-LAST: message" of each finding, for comparing with a table's expected rows.
inline std::vector<std::string> Described(const std::vector<CatalogueFinding>& findings) {
    std::vector<std::string> texts;
    for (const CatalogueFinding& f : findings) {
        texts.push_back(std::to_string(f.line) + ":" + std::to_string(f.firstColumn) + "-" +
                        std::to_string(f.lastColumn) + ": " + f.message);
    }
    return texts;
}

}  // namespace mfb::test
