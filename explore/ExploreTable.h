// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "explore/Explorer.h"
#include "model/DisplayFormat.h"
#include "model/Extended.h"

namespace mfb {

// An exploration's rows and summary as every front end shows them: the command line's table, CSV
// and JSON and the Find window's table share these columns, names and words.

// A ranking key: its command-line name and its label in the window.
struct ExploreKeyName {
    std::string_view name;
    std::string_view label;
    ExploreKey key;
};
std::span<const ExploreKeyName> ExploreKeyNames();

// The columns before the values: rank, motor, battery, fan and cell counts.
inline constexpr std::array<std::string_view, 6> kExploreLeadHeaders = {"#",   "Motor", "Battery",
                                                                        "Fan", "S",     "P"};
// A row's texts under those headers; the fan is its number and name.
std::array<std::string, 6> ExploreLeadCells(const Catalogue& catalogue, const ExploreRow& row,
                                            std::size_t rank);

// The values of a row, in the order of the table, the CSV and the JSON.
struct ExploreValueColumn {
    std::string_view header;  // the table's
    std::string_view key;     // the CSV's and the JSON's
    Extended (*value)(const ExploreRow& row);
};
std::span<const ExploreValueColumn> ExploreValueColumns();

// The figures after the values in the table: each may be missing from a row, which then shows it
// blank, and a text table leaves out a column that no row has.
struct ExploreFigureColumn {
    std::string_view header;
    std::optional<double> (*value)(const ExploreRow& row);
};
std::span<const ExploreFigureColumn> ExploreFigureColumns();

// How the combinations ended, as the JSON keys and the summary's words name them.
struct ExploreCountField {
    std::string_view key;    // the JSON's
    std::string_view label;  // the summary's; empty: not in the summary
    long long ExploreCounts::*count;
};
std::span<const ExploreCountField> ExploreCountFields();

// A motor's or battery's name: the start of its entry text, as the option column shows it.
struct ExploreNames {
    std::string_view motor, battery, fan;
};
ExploreNames NamesOf(const Catalogue& catalogue, const ExploreRow& row);

// "N combinations in S s: R ranked, ..." with the counts that are not zero; a partial run's
// starts "V of N combinations", V those visited, which its counts add up to.
std::string ExploreSummary(const ExploreResult& result, double seconds, char decimalSeparator);

// "2 catalogue entries left out; `mfbcalc-cli check` lists them", after the notes on each.
std::string LeftOutLine(std::size_t entries);

// A header line, then one line per row ranked from 1: names quoted where CSV needs it, numbers
// with 17 significant digits and '.'. Once `stop` is set it ends at the next whole line; returns
// the rows written.
std::size_t WriteExploreCsv(const Catalogue& catalogue, const std::vector<ExploreRow>& rows,
                            std::ostream& out, const std::atomic<bool>* stop = nullptr);

// A text as one CSV field: as it is, or quoted with its quotes doubled where it holds a comma, a
// quote or a line break. A text that starts with '=', '+', '-' or '@' gets a leading "'", as a
// spreadsheet writes a text that it would otherwise run as a formula.
std::string CsvField(std::string_view text);

}  // namespace mfb
