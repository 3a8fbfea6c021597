// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Selection.h"

#include <algorithm>
#include <charconv>

#include "catalogue/Choice.h"
#include "cli/CliOptions.h"
#include "cli/LineOrder.h"

namespace mfb::cli {

namespace {

bool AllDigits(const std::string& s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool StartsWithIgnoringCase(std::string_view text, const std::string& prefix) {
    if (prefix.size() > text.size()) return false;
    const std::string head(text.substr(0, prefix.size()));
    return !CaseInsensitiveLess(head, prefix) && !CaseInsensitiveLess(prefix, head);
}

std::string Range(std::size_t count) {
    if (count == 0) return "the list is empty";
    return "the list has " + std::to_string(count) + " entries, 0 to " + std::to_string(count - 1);
}

}  // namespace

std::size_t SelectLine(const std::vector<std::string>& lines, const std::string& selector,
                       std::string_view what) {
    const std::string name(what);
    if (AllDigits(selector)) {
        std::size_t index = 0;
        const char* end = selector.data() + selector.size();
        const auto [ptr, ec] = std::from_chars(selector.data(), end, index);
        if (ec != std::errc() || ptr != end || index >= lines.size()) {
            throw UsageError("no " + name + " with index " + selector + ": " + Range(lines.size()));
        }
        return index;
    }
    const auto match = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return StartsWithIgnoringCase(EntryText(line), selector);
    });
    if (match == lines.end()) {
        throw UsageError("no " + name + " entry starts with \"" + selector + "\"");
    }
    return static_cast<std::size_t>(match - lines.begin());
}

}  // namespace mfb::cli
