// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace mfb {

// A JSON string literal with its quotes. Catalogue bytes are Latin-1, so every byte above 127 is
// the code point of the same number, written as \u00XX: the output stays ASCII and valid UTF-8.
std::string JsonString(std::string_view bytes);

// 17 significant digits, which read back to the same double; null for a non-finite value, which
// JSON cannot express.
std::string JsonNumber(double value);

// Writes one JSON value with two-space indentation, keeping track of commas and nesting. The text
// reaches `out` in blocks, and whole once the outermost value is closed: a ranking of many rows is
// millions of small pieces, which a stream takes one by one far more slowly than a string.
class JsonWriter {
public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;
    void BeginObject();
    void EndObject();  // after the outermost object, also ends the line
    void BeginArray();
    void EndArray();
    void Key(std::string_view key);
    void String(std::string_view bytes);
    void Number(double value);
    void Integer(long long value);
    void Boolean(bool value);
    void Null();

private:
    void BeforeValue();
    void NewLine();
    void Open(char bracket);
    void Close(char bracket);
    // After a value: passes the text on when the value was the outermost or enough has gathered.
    void Written();
    void Flush();

    std::ostream& out_;
    std::string text_;
    std::vector<bool> empty_;  // per open object or array: nothing written in it yet
    bool afterKey_ = false;
};

}  // namespace mfb
