// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/FanPointsCsv.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"

namespace mfb {

namespace {

std::vector<std::string> SplitCsv(std::string_view line) {
    std::vector<std::string> cells;
    for (std::size_t start = 0;;) {
        const std::size_t comma = line.find(',', start);
        std::string_view cell = line.substr(start, comma - start);
        while (!cell.empty() && cell.front() == ' ') cell.remove_prefix(1);
        while (!cell.empty() && cell.back() == ' ') cell.remove_suffix(1);
        cells.emplace_back(cell);
        if (comma == std::string_view::npos) return cells;
        start = comma + 1;
    }
}

}  // namespace

FanPointsCsv ReadFanPointsCsv(const std::string& text, const std::string& file) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.empty()) throw Error(file + " is empty");
    const std::vector<std::string> header = SplitCsv(lines.front());
    const auto column = [&](std::string_view name) -> std::optional<std::size_t> {
        const auto found = std::find(header.begin(), header.end(), name);
        if (found == header.end()) return std::nullopt;
        return static_cast<std::size_t>(found - header.begin());
    };
    const auto shaft = column("shaft_power_w"), input = column("input_power_w"),
               rpm = column("rpm"), thrust = column("thrust_g");
    if (!rpm || shaft.has_value() == input.has_value()) {
        throw Error(file +
                    ":1: the first line names the columns: rpm and either "
                    "shaft_power_w or input_power_w, optionally thrust_g");
    }
    FanPointsCsv csv;
    csv.inputPower = input.has_value();
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].find_first_not_of(' ') == std::string::npos) continue;
        const std::vector<std::string> cells = SplitCsv(lines[i]);
        const std::string where = file + ':' + std::to_string(i + 1) + ": ";
        if (cells.size() != header.size()) {
            throw Error(where + "a point has as many cells as the first line names");
        }
        const auto number = [&](std::size_t at) {
            try {
                return ParseNumber(cells[at], '.');
            } catch (const Error& e) {
                throw Error(where + header[at] + ": " + e.what());
            }
        };
        FanPoint point;
        point.shaftPower = number(shaft ? *shaft : *input);
        point.rpm = number(*rpm);
        if (thrust && !cells[*thrust].empty()) point.thrust = number(*thrust);
        csv.points.push_back(point);
    }
    return csv;
}

}  // namespace mfb
