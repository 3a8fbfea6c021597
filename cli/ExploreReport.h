// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

namespace mfb {
struct Catalogue;
struct ExploreResult;
}  // namespace mfb

namespace mfb::cli {

// An exploration as the outputs show it: the ranking, with names looked up in the catalogue it
// ran on, and how long it took.
struct ExploreReport {
    const Catalogue& catalogue;
    const ExploreResult& result;
    double seconds = 0;
};

// The ranking as an aligned table with values as the window shows them, then a summary of how
// the combinations ended.
void WriteExploreText(const ExploreReport& report, char decimalSeparator, std::ostream& out);

// The rows as CSV (see mfb::WriteExploreCsv), after a "# partial: ..." line when the run was
// stopped early.
void WriteExploreCsv(const ExploreReport& report, std::ostream& out);

void WriteExploreJson(const ExploreReport& report, std::ostream& out);

}  // namespace mfb::cli
