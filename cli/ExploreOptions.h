// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "explore/Explorer.h"
#include "explore/SpaceText.h"

namespace mfb {
struct Catalogue;
}

namespace mfb::cli {

enum class ExploreOutput { Text, Json, Csv, Help };

struct ExploreOptions {
    std::string catalogueDir = ".";
    std::optional<std::string> motorPattern;    // unset: every motor
    std::optional<std::string> batteryPattern;  // unset: every cell type
    // All but the motors and batteries, which only a loaded catalogue can resolve, and the
    // decimal separator, which may come from the locale.
    ExploreRequest request;
    std::optional<char> decimalSeparator;  // overrides the locale's
    ExploreOutput output = ExploreOutput::Text;
    std::optional<std::string> outputFile;  // --output: written whole, or not at all
    std::optional<double> maxSeconds;       // stop then with the best rows so far, marked partial
    bool sharded = false;                   // --shard given: write the shard file, not a ranking
    std::vector<std::string> mergeFiles;    // --merge: rank these shard files instead of running
};

inline constexpr int kMaxTop = 100000;
inline constexpr int kMaxJobs = 256;
inline constexpr int kMaxShards = 100000;

// The arguments after "explore". Throws UsageError naming the offending argument; "--help"
// anywhere wins, as in the single mode.
ExploreOptions ParseExploreOptions(const std::vector<std::string>& args);

// The indexes of the sorted list's lines whose entry text matches (MatchesPattern), all of them
// without a pattern. `what` names the list in the UsageError thrown when a pattern matches nothing.
std::vector<std::size_t> MatchingLines(const std::vector<std::string>& lines,
                                       const std::optional<std::string>& pattern,
                                       std::string_view what);

// The request for a loaded catalogue: the options' request with the patterns resolved.
ExploreRequest ResolveRequest(const ExploreOptions& options, const Catalogue& catalogue,
                              char decimalSeparator);

}  // namespace mfb::cli
