// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <vector>

#include "setup/Setup.h"

namespace mfb {

// The four options side by side, as the comparison sheet, its CSV and `mfbcalc-cli setup` show
// them: a caption, then a cell per option. Cells are the setup's text (catalogue names trimmed,
// values as the columns showed them with their units); an option that chose anything shows its
// names and cells, and its values, figures and margins only while they belong to that choice.
struct ComparisonRow {
    std::string caption;
    std::array<std::string, kOptionCount> cells;

    bool operator==(const ComparisonRow&) const = default;
};

// "Option 1" to "Option 4", the heading of each option's cells.
std::string OptionHeading(int option);

// What option `option` (1..4) has chosen, in a line: "Inrunner 2230-4500, LiPo 5000 6S2P, Fan 70
// mm".
std::string OptionSummary(const Setup& setup, int option);

// Fan, motor, battery and cells; the result (its operating point, "Combination not possible" with
// the reason, or not calculated); the nine values; a row per figure the columns show below their
// values that some option has; the settings the flight figures rest on and the all-up weight; a
// row per limit any option was checked against ("Within 700.00 W by 12.50 %"). Numbers the setup
// does not hold as text are written with `decimalSeparator`.
std::vector<ComparisonRow> ComparisonRows(const Setup& setup, char decimalSeparator);

// The rows as CSV: a heading line, then a line per row, every cell quoted where it must be.
std::string ComparisonCsv(const std::vector<ComparisonRow>& rows);

}  // namespace mfb
