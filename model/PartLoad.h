// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "model/Flight.h"
#include "model/OptionSlot.h"
#include "model/Sweep.h"

namespace mfb {

// One throttle setting of a combination: the speed controller holds the fan at `throttle` of its
// rpm at the operating point, as the part-throttle flight figure does.
struct PartLoadRow {
    double throttle = 0;  // share of the operating point's fan rpm, (0, 1]
    std::optional<PartThrottle> part;
    Refusal refusal;                   // why `part` is absent
    std::optional<Jet> jet;            // where the fan has jet data
    std::optional<double> efficiency;  // shaft power over the motor's input power
    std::optional<double> runTime;     // minutes the whole pack lasts at this pack current
};

// The throttles `step`, 2 `step`, ... up to the operating point's rpm itself, which always closes
// the table; `step` is a share, (0, 1]. For a slot as the Calculate that found `point` left it.
std::vector<PartLoadRow> PartLoadTable(const TOptionSlot& slot, const FanTable& fans,
                                       const FanJetTable& jets, const ResultPoint& point,
                                       double step);

inline constexpr double kPartLoadStep = 0.1;  // the default step

// The table's columns as text, CSV and JSON show them; a value is absent where its row has none.
struct PartLoadColumn {
    std::string_view key;     // in JSON and CSV
    std::string_view header;  // in text and on the sheet
    std::optional<double> (*value)(const PartLoadRow& row);
};
extern const std::array<PartLoadColumn, 8> kPartLoadColumns;

}  // namespace mfb
