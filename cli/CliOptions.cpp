// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CliOptions.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <string_view>

#include "model/OptionSlot.h"

namespace mfb::cli {

int ParseCount(const std::string& option, const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        throw UsageError(option + " needs a whole number, not \"" + text + "\"");
    }
    if (ec == std::errc::result_out_of_range || value < low || value > high) {
        throw UsageError(option + " must be between " + std::to_string(low) + " and " +
                         std::to_string(high) + ", not " + text);
    }
    return value;
}

char ParseSeparator(const std::string& text) {
    const bool digit = text.size() == 1 && text[0] >= '0' && text[0] <= '9';
    if (text.size() != 1 || digit || text[0] == ' ') {
        throw UsageError(
            "--decimal-separator needs one character other than a digit or a blank, not \"" + text +
            "\"");
    }
    return text[0];
}

namespace {

std::string ParseSelector(const std::string& option, const std::string& text) {
    if (text.empty()) throw UsageError(option + " needs an index or the start of an entry");
    return text;
}

void SetMode(CliOptions& options, OutputMode mode, const std::string& flag, bool& modeSet) {
    if (modeSet) throw UsageError(flag + " cannot be combined with another output mode");
    options.mode = mode;
    modeSet = true;
}

}  // namespace

CliOptions ParseCliOptions(const std::vector<std::string>& args) {
    CliOptions options;
    if (std::any_of(args.begin(), args.end(),
                    [](const std::string& a) { return a == "--help" || a == "-h"; })) {
        options.mode = OutputMode::Help;
        return options;
    }

    bool modeSet = false;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        if (!seen.insert(name).second) throw UsageError(name + " is given more than once");

        const auto flag = [&](OutputMode mode) {
            if (inlineValue) throw UsageError(name + " takes no value");
            SetMode(options, mode, name, modeSet);
        };
        const auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw UsageError(name + " needs a value");
            return args[++i];
        };

        if (name == "--json") {
            flag(OutputMode::Json);
        } else if (name == "--csv") {
            flag(OutputMode::Csv);
        } else if (name == "--list") {
            flag(OutputMode::List);
        } else if (name == "--catalogues") {
            options.catalogueDir = value();
            if (options.catalogueDir.empty()) throw UsageError("--catalogues needs a directory");
        } else if (name == "--motor") {
            options.motor = ParseSelector(name, value());
        } else if (name == "--battery") {
            options.battery = ParseSelector(name, value());
        } else if (name == "--fan") {
            options.fan = ParseCount(name, value(), 1, kFanCount);
        } else if (name == "--serie") {
            options.serie = ParseCount(name, value(), 1, kMaxSerie);
        } else if (name == "--parallel") {
            options.parallel = ParseCount(name, value(), 1, kMaxParallel);
        } else if (name == "--option") {
            options.option = ParseCount(name, value(), 1, kOptionCount);
        } else if (name == "--decimal-separator") {
            options.decimalSeparator = ParseSeparator(value());
        } else {
            throw UsageError("unknown argument \"" + args[i] + "\"");
        }
    }
    return options;
}

}  // namespace mfb::cli
