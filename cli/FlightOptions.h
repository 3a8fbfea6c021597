// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "cli/ArgumentReader.h"
#include "model/Flight.h"
#include "setup/Setup.h"

namespace mfb::cli {

// Reads the argument `reader` stands at into `given` if it is one of the flight options
// (--throttle, --full-throttle, --usable, --model-weight); false for any other. Throws UsageError
// for a value out of range. The single calculation, explore and setup take them; a setup's own
// figures give way to those given.
bool ReadFlightOption(ArgumentReader& reader, SetupFigures& given);
// The same into settings that start from the program's defaults.
bool ReadFlightOption(ArgumentReader& reader, FlightSettings& settings);

}  // namespace mfb::cli
