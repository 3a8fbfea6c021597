// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/TextLines.h"

#include "model/Error.h"

namespace mfb {

namespace {

// Calls `line(start, length)` for every line of the text, in order.
template <class OnLine>
void ForEachLine(std::string_view text, OnLine line) {
    text = text.substr(0, text.find('\0'));
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            line(pos, text.size() - pos);
            break;
        }
        line(pos, end - pos);
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
}

}  // namespace

std::size_t CountLines(std::string_view text) {
    std::size_t count = 0;
    ForEachLine(text, [&](std::size_t, std::size_t) { ++count; });
    return count;
}

std::vector<LineSpan> LineSpans(std::string_view text) {
    std::vector<LineSpan> spans;
    ForEachLine(text, [&](std::size_t start, std::size_t length) {
        spans.push_back({start, length});
    });
    return spans;
}

std::vector<std::string> SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    lines.reserve(CountLines(text));
    ForEachLine(text, [&](std::size_t start, std::size_t length) {
        lines.emplace_back(text.substr(start, length));
    });
    return lines;
}

std::string_view Field(std::string_view line, std::size_t start, std::size_t width) {
    if (start < 1 || start > line.size()) return {};
    return line.substr(start - 1, width);
}

std::string Printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f) {
            constexpr char kHex[] = "0123456789abcdef";
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 0xf];
        } else {
            shown += c;
        }
    }
    return shown;
}

std::string Excerpt(std::string_view text) {
    if (text.size() <= kMaxQuoted) return Printable(text);
    return Printable(text.substr(0, kMaxQuoted)) + kCutMark;
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace mfb
