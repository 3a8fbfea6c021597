// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ArgumentReader.h"

#include <algorithm>
#include <charconv>

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

std::string ParseDirectory(const std::string& option, std::string text) {
    if (text.empty()) throw UsageError(option + " needs a directory");
    return text;
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

bool ArgumentReader::Next() {
    if (next_ >= args_.size()) return false;
    at_ = next_++;
    name_ = args_[at_];
    inlineValue_.reset();
    if (const auto eq = name_.find('='); name_.rfind("--", 0) == 0 && eq != std::string::npos) {
        inlineValue_ = name_.substr(eq + 1);
        name_.resize(eq);
    }
    if (!seen_.insert(name_).second) throw UsageError(name_ + " is given more than once");
    return true;
}

std::string ArgumentReader::Value() {
    if (inlineValue_) return *inlineValue_;
    if (next_ >= args_.size()) throw UsageError(name_ + " needs a value");
    return args_[next_++];
}

std::optional<std::string> ArgumentReader::OptionalValue() {
    if (inlineValue_) return inlineValue_;
    if (next_ >= args_.size() || args_[next_].rfind("-", 0) == 0) return std::nullopt;
    return args_[next_++];
}

void ArgumentReader::NoValue() const {
    if (inlineValue_) throw UsageError(name_ + " takes no value");
}

bool AsksForHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace mfb::cli
