// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/SpaceText.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <utility>

#include "catalogue/Choice.h"

namespace mfb {

namespace {

bool SameLetter(char a, char b) {
    return FoldCase(a) == FoldCase(b);
}

// Backtracks only to the last `*` seen: a later star can absorb whatever an earlier one would.
bool Glob(std::string_view text, std::string_view pattern) {
    std::size_t t = 0, p = 0;
    std::size_t star = std::string_view::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && (pattern[p] == '?' || SameLetter(pattern[p], text[t]))) {
            ++p;
            ++t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    return pattern.find_first_not_of('*', p) == std::string_view::npos;
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int ParseCount(std::string_view text, int low, int high) {
    int value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || value < low || value > high) {
        throw CountListError("must be between " + std::to_string(low) + " and " +
                             std::to_string(high) + ", not " + std::string(text));
    }
    return value;
}

// "N" or "N-M" with both ends from low to high.
std::pair<int, int> ParseRange(std::string_view text, int low, int high, std::string_view form) {
    const auto dash = text.find('-');
    const std::string_view first = text.substr(0, dash);
    const std::string_view last = dash == std::string_view::npos ? first : text.substr(dash + 1);
    if (!IsDigits(first) || !IsDigits(last)) {
        throw CountListError("needs " + std::string(form) + ", not \"" + std::string(text) + "\"");
    }
    const int from = ParseCount(first, low, high);
    const int to = ParseCount(last, low, high);
    if (from > to) {
        throw CountListError("range " + std::string(text) + " runs backwards; write " +
                             std::string(last) + "-" + std::string(first));
    }
    return {from, to};
}

}  // namespace

bool MatchesPattern(std::string_view entryText, std::string_view pattern) {
    const auto end = entryText.find_last_not_of(" \t");
    const std::string_view text = entryText.substr(0, end == std::string_view::npos ? 0 : end + 1);
    if (pattern.find_first_of("*?") != std::string_view::npos) return Glob(text, pattern);
    return text.size() >= pattern.size() &&
           std::equal(pattern.begin(), pattern.end(), text.begin(), SameLetter);
}

std::vector<std::size_t> MatchingLines(const std::vector<std::string>& lines,
                                       const std::optional<std::string>& pattern) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!pattern || MatchesPattern(EntryText(lines[i]), *pattern)) chosen.push_back(i);
    }
    return chosen;
}

std::vector<int> ParseCountList(std::string_view text, int low, int high, std::string_view form) {
    std::set<int> numbers;
    std::size_t start = 0;
    while (true) {
        const auto comma = text.find(',', start);
        const auto [from, to] = ParseRange(text.substr(start, comma - start), low, high, form);
        for (int n = from; n <= to; ++n) numbers.insert(n);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return {numbers.begin(), numbers.end()};
}

}  // namespace mfb
