// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/Derived.h"

namespace mfb {
class JsonWriter;
}

namespace mfb::cli {

// {"c_rate": ..., "run_time": ..., "power_per_weight": ...}
void WriteDerivedJson(JsonWriter& json, const DerivedFigures& figures);
// One member per limit the catalogues state: {"motor_current": {"value", "limit", "margin",
// "exceeded"}, ...}; an empty object without limits.
void WriteLimitsJson(JsonWriter& json, const LimitChecks& checks);

}  // namespace mfb::cli
