// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreReport.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/DerivedOutput.h"
#include "explore/ExploreTable.h"
#include "explore/Explorer.h"
#include "json/JsonWriter.h"
#include "model/DisplayFormat.h"

namespace mfb::cli {

namespace {

// Motor, battery and fan are text and read best left-aligned; the rest are numbers.
bool LeftAligned(std::size_t column) {
    return column >= 1 && column <= 3;
}

void WriteAligned(const std::vector<std::vector<std::string>>& table, std::ostream& out) {
    std::vector<std::size_t> widths(table.front().size(), 0);
    for (const auto& line : table) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            widths[c] = std::max(widths[c], line[c].size());
        }
    }
    for (const auto& line : table) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            const std::string padding(widths[c] - line[c].size(), ' ');
            if (c > 0) out << "  ";
            if (LeftAligned(c)) {
                out << line[c] << padding;
            } else {
                out << padding << line[c];
            }
        }
        out << '\n';
    }
}

std::string PartialNote(const ExploreResult& result) {
    return "partial: stopped after " + std::to_string(result.counts.visited) + " of " +
           std::to_string(result.combinations) +
           " combinations; the rows are the best of those visited";
}

}  // namespace

void WriteExploreText(const ExploreReport& report, char decimalSeparator, std::ostream& out) {
    const std::vector<ExploreRow>& rows = report.result.rows;
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
            std::vector<std::string> line(lead.begin(), lead.end());
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
        WriteAligned(table, out);
        out << '\n';
    }
    out << ExploreSummary(report.result, report.seconds, decimalSeparator) << '\n';
    if (report.result.partial) out << PartialNote(report.result) << '\n';
}

void WriteExploreCsv(const ExploreReport& report, std::ostream& out) {
    // Only a partial ranking has this line, so that it cannot pass for a complete one.
    if (report.result.partial) out << "# " << PartialNote(report.result) << '\n';
    mfb::WriteExploreCsv(report.catalogue, report.result.rows, out);
}

void WriteExploreJson(const ExploreReport& report, std::ostream& out) {
    const ExploreResult& result = report.result;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("combinations");
    json.Integer(result.combinations);
    json.Key("seconds");
    json.Number(report.seconds);
    json.Key("partial");
    json.Boolean(result.partial);

    json.Key("counts");
    json.BeginObject();
    for (const ExploreCountField& field : ExploreCountFields()) {
        json.Key(field.key);
        json.Integer(result.counts.*field.count);
    }
    json.EndObject();

    json.Key("rows");
    json.BeginArray();
    for (std::size_t i = 0; i < result.rows.size(); ++i) {
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
    json.EndObject();
}

}  // namespace mfb::cli
