// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreReport.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/TextLines.h"
#include "cli/DerivedOutput.h"
#include "explore/ExploreTable.h"
#include "explore/Explorer.h"
#include "json/JsonWriter.h"
#include "model/DisplayFormat.h"

namespace mfb::cli {

namespace {

bool Stopped(const std::atomic<bool>* stop) {
    return stop != nullptr && stop->load(std::memory_order_relaxed);
}

// Motor, battery and fan are text and read best left-aligned; the rest are numbers.
bool LeftAligned(std::size_t column) {
    return column >= 1 && column <= 3;
}

// Rows written, all unless `stop` was set.
std::size_t WriteAligned(const std::vector<std::vector<std::string>>& table,
                         const std::atomic<bool>* stop, std::ostream& out) {
    std::vector<std::size_t> widths(table.front().size(), 0);
    for (const auto& line : table) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            widths[c] = std::max(widths[c], line[c].size());
        }
    }
    // One write per line: a ranking of many rows spends more in the stream's inserters than in
    // anything else here.
    std::string text;
    for (std::size_t r = 0; r < table.size(); ++r) {
        if (r > 0 && Stopped(stop)) return r - 1;
        const auto& line = table[r];
        text.clear();
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::size_t padding = widths[c] - line[c].size();
            if (c > 0) text += "  ";
            if (!LeftAligned(c)) text.append(padding, ' ');
            text += line[c];
            if (LeftAligned(c)) text.append(padding, ' ');
        }
        text += '\n';
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
    }
    return table.size() - 1;
}

bool Partial(const ExploreResult& result) {
    return result.partial || result.unverified;
}

std::string PartialNote(const ExploreResult& result) {
    if (!result.partial) {
        return "partial: stopped before every row was rechecked; the rows are the ranking of all " +
               std::to_string(result.combinations) + " combinations, not all of them rechecked";
    }
    return "partial: stopped after " + std::to_string(result.counts.visited) + " of " +
           std::to_string(result.combinations) +
           " combinations; the rows are the best of those visited";
}

// The last line of an output that a signal cut short.
std::string IncompleteNote(std::size_t written, std::size_t rows) {
    return "# incomplete: the output was stopped by a signal after " + std::to_string(written) +
           " of " + std::to_string(rows) + " rows";
}

}  // namespace

bool WriteExploreText(const ExploreReport& report, char decimalSeparator, std::ostream& out) {
    const std::vector<ExploreRow>& rows = report.result.rows;
    std::size_t written = rows.size();
    if (!rows.empty()) {
        std::vector<std::vector<std::string>> table;
        std::vector<std::string> header(kExploreLeadHeaders.begin(), kExploreLeadHeaders.end());
        for (const ExploreValueColumn& column : ExploreValueColumns()) {
            header.emplace_back(column.header);
        }
        // A figure column only where some row has the figure: it would stay blank otherwise.
        std::vector<const ExploreFigureColumn*> figures;
        for (const ExploreFigureColumn& column : ExploreFigureColumns()) {
            if (std::any_of(rows.begin(), rows.end(),
                            [&](const ExploreRow& row) { return column.value(row).has_value(); })) {
                figures.push_back(&column);
                header.emplace_back(column.header);
            }
        }
        table.push_back(std::move(header));
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const ExploreRow& row = rows[i];
            const auto lead = ExploreLeadCells(report.catalogue, row, i + 1);
            std::vector<std::string> line;
            for (const std::string& cell : lead) line.push_back(Printable(cell));
            for (const ExploreValueColumn& column : ExploreValueColumns()) {
                const Extended value = column.value(row);
                // A figure not known is a dash: a blank would read as a column shifted.
                line.push_back(std::isnan(value) ? std::string("-")
                                                 : FormatValue(value, decimalSeparator));
            }
            for (const ExploreFigureColumn* column : figures) {
                const auto value = column->value(row);
                line.push_back(value ? FormatValue(*value, decimalSeparator) : std::string());
            }
            table.push_back(std::move(line));
        }
        written = WriteAligned(table, report.stop, out);
        out << '\n';
    }
    out << Printable(ExploreSummary(report.result, report.seconds, decimalSeparator)) << '\n';
    if (Partial(report.result)) out << PartialNote(report.result) << '\n';
    if (written < rows.size()) out << IncompleteNote(written, rows.size()) << '\n';
    return written == rows.size();
}

bool WriteExploreCsv(const ExploreReport& report, std::ostream& out) {
    // Only a partial ranking has this line, so that it cannot pass for a complete one.
    if (Partial(report.result)) out << "# " << PartialNote(report.result) << '\n';
    const std::vector<ExploreRow>& rows = report.result.rows;
    const std::size_t written = mfb::WriteExploreCsv(report.catalogue, rows, out, report.stop);
    if (written < rows.size()) out << IncompleteNote(written, rows.size()) << '\n';
    return written == rows.size();
}

bool WriteExploreJson(const ExploreReport& report, std::ostream& out) {
    const ExploreResult& result = report.result;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("combinations");
    json.Integer(result.combinations);
    json.Key("seconds");
    json.Number(report.seconds);

    json.Key("counts");
    json.BeginObject();
    for (const ExploreCountField& field : ExploreCountFields()) {
        json.Key(field.key);
        json.Integer(result.counts.*field.count);
    }
    json.EndObject();
    if (result.front) {
        json.Key("front");
        json.Integer(static_cast<long long>(*result.front));
    }

    json.Key("rows");
    json.BeginArray();
    std::size_t written = 0;
    for (; written < result.rows.size() && !Stopped(report.stop); ++written) {
        const std::size_t i = written;
        const ExploreRow& row = result.rows[i];
        const ExploreNames names = NamesOf(report.catalogue, row);
        json.BeginObject();
        json.Key("rank");
        json.Integer(static_cast<long long>(i + 1));
        json.Key("motor");
        json.String(names.motor);
        json.Key("battery");
        json.String(names.battery);
        json.Key("fan");
        json.Integer(row.fan);
        json.Key("serie");
        json.Integer(row.serie);
        json.Key("parallel");
        json.Integer(row.parallel);
        for (const ExploreValueColumn& column : ExploreValueColumns()) {
            json.Key(column.key);
            json.Number(static_cast<double>(column.value(row)));
        }
        json.Key("steps");
        json.Integer(row.steps);
        json.Key("c_rate");
        json.Number(row.derived.cRate);
        json.Key("limits");
        WriteLimitsJson(json, row.limits);
        json.EndObject();
    }
    json.EndArray();

    json.Key("notes");
    json.BeginArray();
    for (const std::string& note : result.notes) json.String(note);
    json.EndArray();
    // Last, so that an output cut short by a signal can still say so.
    json.Key("partial");
    json.Boolean(Partial(result) || written < result.rows.size());
    json.EndObject();
    return written == result.rows.size();
}

}  // namespace mfb::cli
