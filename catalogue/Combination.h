// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace mfb {

// One power train by what a modeller picks: a line of the catalogue's sorted motor list and of its
// battery list (indexes from 0), a fan 1..5 and the cells in series (1..40) and in parallel
// (1..10). The search ranks these, and the window puts one into an option.
struct Combination {
    std::size_t motor = 0;
    std::size_t battery = 0;
    int fan = 1;
    int serie = 1;
    int parallel = 1;
};

}  // namespace mfb
