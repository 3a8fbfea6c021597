// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>
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
    // Once set (by a signal), the output ends after the row being written and says that it is
    // incomplete, still valid in its format.
    const std::atomic<bool>* stop = nullptr;
};

// Each writer returns false when `stop` cut the rows short.

// The ranking as an aligned table with values as the window shows them, then a summary of how
// the combinations ended; names with their control bytes escaped.
bool WriteExploreText(const ExploreReport& report, char decimalSeparator, std::ostream& out);

// The rows as CSV (see mfb::WriteExploreCsv), after a "# partial: ..." line when the run was
// stopped early, and before a "# incomplete: ..." line when the output was.
bool WriteExploreCsv(const ExploreReport& report, std::ostream& out);

// Its last key, "partial", is true when the run or the output was stopped early.
bool WriteExploreJson(const ExploreReport& report, std::ostream& out);

}  // namespace mfb::cli
