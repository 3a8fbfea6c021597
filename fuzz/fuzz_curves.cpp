// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's curve table against the plainest model of it: three lists of points, stably sorted
// by x when read. The input is a program of steps, single points, clears and reads, with x values
// from a small set so that ties, falling tails and mixed colours are common.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/CurveTable.h"
#include "fuzz/FuzzChecks.h"

namespace {

using mfb::ChartPoint;
using mfb::CurveTable;
using mfb::kCurveCount;
using mfb::PointColour;
using mfb::fuzz::Require;

constexpr std::array<PointColour, kCurveCount> kColours{10, 20, 30};

struct ModelPoint {
    double x;
    double y;
    PointColour colour;
};
using Model = std::array<std::vector<ModelPoint>, kCurveCount>;

class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // Sixteen x values, a few of them far apart, so that runs tie and cross.
    double X() {
        const int b = Byte() % 16;
        return b < 13 ? b - 4.0 : (b - 12) * 1.0e6;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

void Compare(const CurveTable& table, const Model& model, std::size_t curve) {
    std::vector<ModelPoint> expected = model[curve];
    std::stable_sort(expected.begin(), expected.end(),
                     [](const ModelPoint& a, const ModelPoint& b) { return a.x < b.x; });
    const auto points = table.Points(curve);
    Require(points.size() == expected.size() && table.Size(curve) == expected.size(),
            "a curve holds the wrong number of points", std::to_string(curve));
    std::vector<CurveTable::ColourRun> runs;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ChartPoint p = points[i];
        Require(p.x == expected[i].x && p.y == expected[i].y, "a point out of place",
                std::to_string(curve) + " at " + std::to_string(i));
        if (runs.empty() || runs.back().second != expected[i].colour) {
            runs.emplace_back(i, expected[i].colour);
        }
    }
    Require(table.ColourRuns(curve) == runs, "colour runs differ", std::to_string(curve));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    CurveTable table(kColours);
    Model model;
    double y = 0;  // every point gets its own y, so that a misplaced point shows
    while (!in.Empty()) {
        const std::uint8_t op = in.Byte();
        const std::size_t curve = (op >> 4) % kCurveCount;
        switch (op % 5) {
            case 0: {  // a sweep's step, or a run of them rising or falling
                const int count = 1 + (op >> 3) % 8;
                double x = in.X();
                const double dx = (op & 0x80) ? -0.5 : 0.5;
                for (int k = 0; k < count; ++k, x += dx) {
                    const std::array<double, kCurveCount> ys{++y, ++y, ++y};
                    table.AddRow(x, ys);
                    for (std::size_t c = 0; c < kCurveCount; ++c) {
                        model[c].push_back({x, ys[c], kColours[c]});
                    }
                }
                break;
            }
            case 1: {  // a point of one curve, in its own colour or another
                const double x = in.X();
                const PointColour colour = (op & 0x40) ? kColours[curve] : 99;
                table.Add(curve, x, ++y, colour);
                model[curve].push_back({x, y, colour});
                break;
            }
            case 2:
                table.Clear(curve);
                model[curve].clear();
                break;
            default:
                Compare(table, model, curve);
                break;
        }
    }
    for (std::size_t c = 0; c < kCurveCount; ++c) Compare(table, model, c);
    return 0;
}
