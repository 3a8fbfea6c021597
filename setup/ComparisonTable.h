// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "setup/Setup.h"

namespace mfb {

// The four options side by side, as a comparison sheet and its CSV show them: a caption, then a
// cell per option. Cells are the setup's text (catalogue names trimmed, values as the columns
// showed them with their units); an option shows its names and cells whether or not it was
// calculated, and its values, figures and margins only once it was.
struct ComparisonRow {
    std::string caption;
    std::array<std::string, kOptionCount> cells;

    bool operator==(const ComparisonRow&) const = default;
};

// "Option 1" to "Option 4", the heading of each option's cells.
std::string OptionHeading(int option);

// What option `option` (1..4) is, in a line: "Inrunner 2230-4500, LiPo 5000 6S2P, Fan 70 mm".
std::string OptionSummary(const Setup& setup, int option);

// Fan, motor, battery and cells; the nine values; a row per figure the columns show below their
// values that some calculated option has; a row per limit any calculated option was checked
// against ("Within 700.00 W by 12.50 %"), and a "Notes" row for any other sentence the options
// showed.
std::vector<ComparisonRow> ComparisonRows(const Setup& setup);

}  // namespace mfb
