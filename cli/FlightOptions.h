// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "cli/ArgumentReader.h"
#include "model/Flight.h"

namespace mfb::cli {

// Reads the argument `reader` stands at into `settings` if it is one of the flight options
// (--throttle, --full-throttle, --usable, --model-weight); false for any other. Throws UsageError
// for a value out of range. Both the single calculation and explore take them.
bool ReadFlightOption(ArgumentReader& reader, FlightSettings& settings);

}  // namespace mfb::cli
