// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/ArgumentReader.h"
#include "model/Flight.h"
#include "model/OptionSlot.h"

namespace mfb::cli {

enum class OutputMode { Text, Json, Csv, List, Help };

struct CliOptions {
    std::string catalogueDir = ".";
    std::optional<std::string> motor;    // an index into the sorted list, or the start of an entry
    std::optional<std::string> battery;  // likewise
    int fan = 1;                         // 1..5
    int serie = 10;                      // 1..40
    int parallel = 1;                    // 1..10
    int option = 1;                      // 1..4
    OutputMode mode = OutputMode::Text;
    std::optional<char> decimalSeparator;  // overrides the locale's
    FlightSettings flight;
    std::optional<double> partLoadStep;  // a share: the part-load table is asked for
};

// The arguments after the program name. Throws UsageError naming the offending argument. "--help"
// anywhere wins over everything else, so a broken command line can still ask for help.
CliOptions ParseCliOptions(const std::vector<std::string>& args);

}  // namespace mfb::cli
