// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/Flight.h"
#include "setup/Setup.h"

namespace mfb {

// The four settings of how the model is flown, once for every place that names them: the window's
// fields, the comparison, setup files and the command line's options and JSON. A share is stored
// as a fraction and entered in percent (`scale` 100); the weight in grams (`scale` 1).
struct FlightSettingRow {
    std::string_view key;       // in setup files and the command line's JSON
    std::string_view firstKey;  // in setup files of version 1
    std::string_view option;    // on the command line
    std::string_view label;     // in the window and the comparison, without a colon
    std::string_view unit;      // of the entered value: "%" or "g"
    double scale;               // entered = stored * scale
    double least, most;         // of the stored value
    std::optional<double> SetupFigures::*given;
    double FlightSettings::*share;  // null for the weight, whose absence means "not known"

    bool holds(double stored) const { return stored >= least && stored <= most; }
};

inline constexpr std::array<FlightSettingRow, 4> kFlightSettingRows{{
    {"throttle", "throttle", "--throttle", "Part throttle", "%", 100, kThrottleRange.least,
     kThrottleRange.most, &SetupFigures::throttle, &FlightSettings::throttle},
    {"full_throttle", "full_throttle_share", "--full-throttle", "Time at full throttle", "%", 100,
     kFullShareRange.least, kFullShareRange.most, &SetupFigures::fullShare,
     &FlightSettings::fullShare},
    {"usable", "usable_capacity", "--usable", "Capacity used", "%", 100, kUsableRange.least,
     kUsableRange.most, &SetupFigures::usable, &FlightSettings::usable},
    {"model_weight", "model_weight_g", "--model-weight", "Model without pack", "g", 1,
     kLeastModelWeight, kMostModelWeight, &SetupFigures::modelWeight, nullptr},
}};
static_assert(sizeof(SetupFigures) == kFlightSettingRows.size() * sizeof(std::optional<double>),
              "a flight setting missing from kFlightSettingRows");
inline constexpr std::size_t kModelWeightRow = 3;
static_assert(kFlightSettingRows[kModelWeightRow].share == nullptr);

// Why `stored` is not a value of the setting, in the entered unit ("Part throttle takes 1 to
// 100 %"); empty when it is one.
std::string FlightSettingRefusal(const FlightSettingRow& row, double stored);

// The setting's value as the comparison shows it ("65 %", "1200 g", "not known"), the entered
// number with as many decimals as it has, up to two.
std::string FlightSettingText(const FlightSettingRow& row, const FlightSettings& settings,
                              char decimalSeparator);

}  // namespace mfb
