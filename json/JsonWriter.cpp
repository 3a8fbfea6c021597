// SPDX-License-Identifier: GPL-3.0-or-later
#include "json/JsonWriter.h"

#include <ostream>

#include "model/DisplayFormat.h"

namespace mfb {

std::string JsonString(std::string_view bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string s = "\"";
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                s += "\\\"";
                continue;
            case '\\':
                s += "\\\\";
                continue;
            case '\n':
                s += "\\n";
                continue;
            case '\r':
                s += "\\r";
                continue;
            case '\t':
                s += "\\t";
                continue;
            default:
                break;
        }
        if (u < 0x20 || u >= 0x7F) {
            s += "\\u00";
            s += kHex[u >> 4];
            s += kHex[u & 0xF];
        } else {
            s += c;
        }
    }
    s += '"';
    return s;
}

std::string JsonNumber(double value) {
    return ExactNumber(value);
}

void JsonWriter::NewLine() {
    out_ << '\n' << std::string(2 * empty_.size(), ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back()) out_ << ',';
        empty_.back() = false;
        NewLine();
    }
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    out_ << bracket;
    empty_.push_back(true);
}

void JsonWriter::Close(char bracket) {
    const bool wasEmpty = empty_.back();
    empty_.pop_back();
    if (!wasEmpty) NewLine();
    out_ << bracket;
}

void JsonWriter::BeginObject() {
    Open('{');
}

void JsonWriter::EndObject() {
    Close('}');
    if (empty_.empty()) out_ << '\n';
}

void JsonWriter::BeginArray() {
    Open('[');
}

void JsonWriter::EndArray() {
    Close(']');
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    out_ << JsonString(key) << ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view bytes) {
    BeforeValue();
    out_ << JsonString(bytes);
}

void JsonWriter::Number(double value) {
    BeforeValue();
    out_ << JsonNumber(value);
}

void JsonWriter::Integer(long long value) {
    BeforeValue();
    out_ << value;
}

void JsonWriter::Boolean(bool value) {
    BeforeValue();
    out_ << (value ? "true" : "false");
}

void JsonWriter::Null() {
    BeforeValue();
    out_ << "null";
}

}  // namespace mfb
