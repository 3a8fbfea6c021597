// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

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

// A header line, then one line per row: names quoted where CSV needs it, numbers with 17
// significant digits and '.'.
void WriteExploreCsv(const ExploreReport& report, std::ostream& out);

// A text as one CSV field: as it is, or quoted with its quotes doubled where it holds a comma, a
// quote or a line break.
std::string CsvField(std::string_view text);

void WriteExploreJson(const ExploreReport& report, std::ostream& out);

}  // namespace mfb::cli
