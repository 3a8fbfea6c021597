// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explore/ExploreSettings.h"
#include "explore/Explorer.h"

namespace mfb {
struct Catalogue;
}

namespace mfb::cli {

enum class ExploreOutput { Text, Json, Csv, Help };

struct ExploreOptions {
    std::string catalogueDir = ".";
    std::optional<std::string> motorPattern;    // unset: every motor
    std::optional<std::string> batteryPattern;  // unset: every cell type
    // --fans as given: numbers and fan names, which only a loaded catalogue can resolve; unset:
    // the five fans of the blocks.
    std::optional<std::string> fanList;
    // All but the motors and batteries, which only a loaded catalogue can resolve, and the
    // decimal separator, which may come from the locale; the settings' rules already applied.
    ExploreRequest request;
    std::optional<char> decimalSeparator;  // overrides the locale's
    ExploreOutput output = ExploreOutput::Text;
    std::optional<std::string> outputFile;  // --output: written whole, or not at all
    std::optional<double> maxSeconds;       // stop then with the best rows so far, marked partial
    bool sharded = false;                   // --shard given: write the shard file, not a ranking
    std::vector<std::string> mergeFiles;    // --merge: rank these shard files instead of running
    bool keyChosen = false;                 // else the catalogue decides the ranking (KeyFor)
};

inline constexpr int kMaxJobs = 256;

// The arguments after "explore". Throws UsageError naming the offending argument; "--help"
// anywhere wins, as in the single mode.
ExploreOptions ParseExploreOptions(const std::vector<std::string>& args);

// The request for a loaded catalogue: the options' request with the patterns and fans resolved, and
// the ranking key where only the catalogue can tell it (KeyFor).
ExploreRequest ResolveRequest(const ExploreOptions& options, const Catalogue& catalogue,
                              char decimalSeparator);

}  // namespace mfb::cli
