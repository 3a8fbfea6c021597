// SPDX-License-Identifier: GPL-3.0-or-later
// The number rule against an independent reading of the same grammar and the C library's strtod,
// which rounds correctly: first byte the decimal separator, the rest the field.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/NumberRule.h"
#include "fuzz/FuzzChecks.h"
#include "model/Error.h"

namespace {

using mfb::fuzz::Fail;
using mfb::fuzz::Require;

bool Digit(char c) {
    return c >= '0' && c <= '9';
}

// The field in the C locale's spelling ("-12.5e3"), or nothing when the grammar rejects it.
std::optional<std::string> CSpelling(std::string_view f, char sep) {
    std::size_t i = 0;
    while (i < f.size() && f[i] == ' ') ++i;
    std::string text;
    if (i < f.size() && (f[i] == '+' || f[i] == '-')) text += f[i++];
    std::string whole, fraction;
    while (i < f.size() && Digit(f[i])) whole += f[i++];
    bool hasSeparator = false;
    if (i < f.size() && f[i] == sep) {
        hasSeparator = true;
        ++i;
        while (i < f.size() && Digit(f[i])) fraction += f[i++];
    }
    if (whole.empty() && !hasSeparator) return std::nullopt;
    std::string exponent = "0";
    if (i < f.size() && (f[i] == 'e' || f[i] == 'E')) {
        ++i;
        std::string sign;
        if (i < f.size() && (f[i] == '+' || f[i] == '-')) sign = f[i++];
        std::string digits;
        while (i < f.size() && Digit(f[i])) digits += f[i++];
        exponent = sign + (digits.empty() ? "0" : digits);
    }
    while (i < f.size() && f[i] == ' ') ++i;
    if (i != f.size()) return std::nullopt;
    return text + (whole.empty() ? "0" : whole) + "." + fraction + "e" + exponent;
}

bool SameDouble(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

std::string Show(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

// Seventeen significant digits as an integer and a decimal exponent: readable whatever the
// separator, since the digits are taken before the separator is looked for.
std::string Canonical(double v, char sep) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.16e", std::fabs(v));
    std::string digits = std::string(1, buffer[0]) + std::string(buffer + 2, 16);
    const int exponent = std::atoi(buffer + 19) - 16;
    return (std::signbit(v) ? "-" : "") + digits + (sep == 'e' ? 'E' : 'e') +
           std::to_string(exponent);
}

void CheckReparse(double v, const std::string& text, char sep) {
    double again = 0;
    try {
        again = mfb::ParseNumber(text, sep);
    } catch (const mfb::Error& e) {
        Fail("a printed value does not read back", text + " -> " + e.what());
    }
    Require(SameDouble(again, v), "a printed value reads back differently",
            text + " -> " + Show(again) + " instead of " + Show(v));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const char sep = static_cast<char>(data[0]);
    const std::string_view field(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::optional<std::string> spelling = CSpelling(field, sep);
    std::optional<double> expected;
    if (spelling) {
        errno = 0;
        const double reference = std::strtod(spelling->c_str(), nullptr);
        if (std::isfinite(reference)) expected = reference;
    }

    double value = 0;
    try {
        value = mfb::ParseNumber(field, sep);
    } catch (const mfb::Error& e) {
        // what() is a C string, so a NUL in the field ends the message there. Catalogue lines
        // never hold one (a NUL ends the text), only this target's fields do.
        const std::string message = mfb::fuzz::NumberMessage(field);
        // A hint may follow the message, but a NUL inside the quote ends the C string before it.
        const bool cut = message.find('\0') != std::string::npos;
        Require(cut ? message.c_str() == std::string(e.what())
                    : mfb::fuzz::IsNumberMessage(e.what(), field),
                "wrong message", e.what());
        Require(!expected, "a valid field was refused", std::string(field));
        return 0;
    }
    Require(std::isfinite(value), "a non-finite value was accepted", std::string(field));
    Require(expected.has_value(), "an invalid or out-of-range field was accepted",
            std::string(field) + " -> " + Show(value));
    Require(SameDouble(value, *expected), "not the nearest double",
            std::string(field) + " -> " + Show(value) + ", strtod " + Show(*expected));

    CheckReparse(value, Canonical(value, sep), sep);
    if (!Digit(sep) && sep != ' ' && sep != '+' && sep != '-' && sep != 'e' && sep != 'E') {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.16e", value);
        std::string text = buffer;
        text[text.find('.')] = sep;
        CheckReparse(value, text, sep);
    }
    return 0;
}
