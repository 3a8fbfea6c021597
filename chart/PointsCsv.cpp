// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/PointsCsv.h"

#include <charconv>
#include <cstddef>

namespace mfb {
namespace {

void Append(std::string& out, double value) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
    out.append(buffer, end);
}

bool SharedX(const std::vector<CurvePoints>& curves) {
    if (curves.empty()) return true;
    const CurvePoints& first = curves.front();
    for (const CurvePoints& points : curves) {
        if (points.size() != first.size()) return false;
        for (std::size_t i = 0; i < points.size(); ++i) {
            if (!(points[i].x == first[i].x)) return false;
        }
    }
    return true;
}

}  // namespace

std::string PointsCsv(const std::vector<std::string>& names,
                      const std::vector<CurvePoints>& curves) {
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) out += ',';
        out += names[i];
    }
    out += '\n';
    if (SharedX(curves)) {
        const std::size_t rows = curves.empty() ? 0 : curves.front().size();
        for (std::size_t row = 0; row < rows; ++row) {
            Append(out, curves.front()[row].x);
            for (const CurvePoints& curve : curves) {
                out += ',';
                Append(out, curve[row].y);
            }
            out += '\n';
        }
        return out;
    }
    for (std::size_t c = 0; c < curves.size(); ++c) {
        for (const ChartPoint p : curves[c]) {
            Append(out, p.x);
            for (std::size_t other = 0; other < curves.size(); ++other) {
                out += ',';
                if (other == c) Append(out, p.y);
            }
            out += '\n';
        }
    }
    return out;
}

}  // namespace mfb
