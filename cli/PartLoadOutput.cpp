// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/PartLoadOutput.h"

#include <algorithm>
#include <ostream>
#include <string>

#include "cli/DerivedOutput.h"
#include "json/JsonWriter.h"
#include "model/DisplayFormat.h"

namespace mfb::cli {

void WritePartLoadText(const std::vector<PartLoadRow>& rows, char separator, std::ostream& out) {
    out << "Part load:\n";
    std::vector<std::vector<std::string>> cells;
    std::vector<std::size_t> widths;
    for (const PartLoadColumn& column : kPartLoadColumns) widths.push_back(column.header.size());
    for (const PartLoadRow& row : rows) {
        std::vector<std::string>& line = cells.emplace_back();
        for (std::size_t i = 0; i < kPartLoadColumns.size(); ++i) {
            const auto value = kPartLoadColumns[i].value(row);
            // A row without figures keeps its throttle and says why after it.
            if (!value && !row.part) break;
            line.push_back(value ? FormatValue(*value, separator) : "-");
            widths[i] = std::max(widths[i], line.back().size());
        }
    }
    const auto pad = [&](const std::string& text, std::size_t i) {
        return std::string(widths[i] - text.size() + (i == 0 ? 0 : 2), ' ') + text;
    };
    for (std::size_t i = 0; i < kPartLoadColumns.size(); ++i) {
        out << pad(std::string(kPartLoadColumns[i].header), i);
    }
    out << '\n';
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t i = 0; i < cells[r].size(); ++i) out << pad(cells[r][i], i);
        if (!rows[r].part) out << "  not possible: " << DescribeRefusal(rows[r].refusal, separator);
        out << '\n';
    }
}

void WritePartLoadCsv(const std::vector<PartLoadRow>& rows, std::ostream& out) {
    for (std::size_t i = 0; i < kPartLoadColumns.size(); ++i) {
        out << (i == 0 ? "" : ",") << kPartLoadColumns[i].key;
    }
    out << '\n';
    for (const PartLoadRow& row : rows) {
        for (std::size_t i = 0; i < kPartLoadColumns.size(); ++i) {
            const auto value = kPartLoadColumns[i].value(row);
            out << (i == 0 ? "" : ",") << (value ? JsonNumber(*value) : "");
        }
        out << '\n';
    }
}

void WritePartLoadJson(JsonWriter& json, const std::vector<PartLoadRow>& rows) {
    json.BeginArray();
    for (const PartLoadRow& row : rows) {
        json.BeginObject();
        for (const PartLoadColumn& column : kPartLoadColumns) {
            WriteOptional(json, column.key, column.value(row));
        }
        json.Key("refusal");
        if (row.part) {
            json.Null();
        } else {
            json.String(DescribeRefusal(row.refusal, '.'));
        }
        json.EndObject();
    }
    json.EndArray();
}

}  // namespace mfb::cli
