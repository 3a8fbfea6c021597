// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

namespace mfb {

// A closed range of axis values, min < max.
struct AxisRange {
    double min = 0;
    double max = 1;
    double Width() const { return max - min; }
    bool operator==(const AxisRange&) const = default;
    // The value a fraction of the way from min (0) to max (1).
    double At(double fraction) const { return min + fraction * (max - min); }
};

// The part of `range` between two fractions of it, in either order.
inline AxisRange SubRange(const AxisRange& range, double from, double to) {
    return {range.At(std::min(from, to)), range.At(std::max(from, to))};
}

// `range` scaled by `factor` about `centre` (a value inside it), kept inside `limit`: zooming out
// never shows more than the limit, and a range pushed past one end of it slides back in whole.
inline AxisRange ScaledAbout(const AxisRange& range, double centre, double factor,
                             const AxisRange& limit) {
    const double width = std::min(range.Width() * factor, limit.Width());
    double min = centre - (centre - range.min) * (width / range.Width());
    // Not std::clamp: limit.max - width may round to a hair below limit.min, and the limit's own
    // minimum is the one to keep.
    min = std::max(std::min(min, limit.max - width), limit.min);
    return {min, std::min(min + width, limit.max)};
}

// A place on a chart's plot as fractions of it: across from its left edge, up from its bottom.
struct PlotFraction {
    double across = 0;
    double up = 0;
};

// A chart's axes, zoomed together: shown[a] is what axis a shows, full[a] the widest it may show,
// and across[a] whether it runs across the plot (else up it).
template <std::size_t N>
struct ChartAxes {
    std::array<AxisRange, N> shown;
    std::array<AxisRange, N> full;
    std::array<bool, N> across;
};

// One wheel notch shows this much of each range. No zoom leaves less than kDeepestZoom of an
// axis' full range, since the ticks would outrun a double.
inline constexpr double kNotchZoom = 0.8;
inline constexpr double kDeepestZoom = 1e-9;

namespace zoom_detail {
template <std::size_t N, class Range>
std::optional<std::array<AxisRange, N>> Zoomed(const ChartAxes<N>& axes, Range range) {
    std::array<AxisRange, N> ranges{};
    for (std::size_t a = 0; a < N; ++a) {
        ranges[a] = range(a);
        if (!(ranges[a].Width() > kDeepestZoom * axes.full[a].Width())) return std::nullopt;
    }
    return ranges;
}
}  // namespace zoom_detail

// What the rectangle between two places of the plot shows; none when it is too small to follow.
template <std::size_t N>
std::optional<std::array<AxisRange, N>> ZoomedTo(const ChartAxes<N>& axes, PlotFraction from,
                                                 PlotFraction to) {
    return zoom_detail::Zoomed(axes, [&](std::size_t a) {
        return axes.across[a] ? SubRange(axes.shown[a], from.across, to.across)
                              : SubRange(axes.shown[a], from.up, to.up);
    });
}

// The axes after `notches` wheel notches about `at` (positive zooming in), never wider than full.
template <std::size_t N>
std::optional<std::array<AxisRange, N>> ZoomedAbout(const ChartAxes<N>& axes, PlotFraction at,
                                                    double notches) {
    const double factor = std::pow(kNotchZoom, notches);
    return zoom_detail::Zoomed(axes, [&](std::size_t a) {
        const AxisRange& shown = axes.shown[a];
        const double centre = shown.At(axes.across[a] ? at.across : at.up);
        return ScaledAbout(shown, centre, factor, axes.full[a]);
    });
}

}  // namespace mfb
