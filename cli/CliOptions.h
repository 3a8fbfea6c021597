// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace mfb::cli {

// A command line the program cannot act on; exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

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
};

inline constexpr int kMaxSerie = 40;
inline constexpr int kMaxParallel = 10;

// The arguments after the program name. Throws UsageError naming the offending argument. "--help"
// anywhere wins over everything else, so a broken command line can still ask for help.
CliOptions ParseCliOptions(const std::vector<std::string>& args);

// A whole number from low to high for `option`; throws UsageError naming the option otherwise.
int ParseCount(const std::string& option, const std::string& text, int low, int high);

// The value of --decimal-separator: one character, neither a digit nor a blank.
char ParseSeparator(const std::string& text);

}  // namespace mfb::cli
