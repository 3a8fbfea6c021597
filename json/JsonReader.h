// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace mfb {

// A strict JSON reader: setup files are read with it, and tests check with it that the command
// line's output is valid JSON and read its numbers back the way a script would. Strings decode \u
// escapes to UTF-8; numbers are read with '.' whatever the locale.
struct JsonValue;
using JsonObject = std::map<std::string, JsonValue>;
using JsonArray = std::vector<JsonValue>;

struct JsonValue {
    std::variant<std::nullptr_t, bool, double, std::string, std::shared_ptr<JsonArray>,
                 std::shared_ptr<JsonObject>>
        data;

    bool IsNull() const { return std::holds_alternative<std::nullptr_t>(data); }
    double Number() const { return std::get<double>(data); }
    const std::string& String() const { return std::get<std::string>(data); }
    const JsonArray& Array() const { return *std::get<std::shared_ptr<JsonArray>>(data); }
    const JsonObject& Object() const { return *std::get<std::shared_ptr<JsonObject>>(data); }
    bool Has(const std::string& key) const { return Object().count(key) != 0; }
    const JsonValue& operator[](const std::string& key) const { return Object().at(key); }
};

// Parses one JSON text; throws std::runtime_error at the first offence, trailing text included,
// saying what it is and at which byte offset.
JsonValue ParseJson(std::string_view text);

}  // namespace mfb
