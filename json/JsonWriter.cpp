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

JsonWriter::~JsonWriter() {
    Flush();
}

void JsonWriter::Flush() {
    out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
    text_.clear();
}

void JsonWriter::NewLine() {
    text_ += '\n';
    text_.append(2 * empty_.size(), ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!empty_.empty()) {
        if (!empty_.back()) text_ += ',';
        empty_.back() = false;
        NewLine();
    }
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    text_ += bracket;
    empty_.push_back(true);
}

void JsonWriter::Close(char bracket) {
    const bool wasEmpty = empty_.back();
    empty_.pop_back();
    if (!wasEmpty) NewLine();
    text_ += bracket;
    Written();
}

void JsonWriter::BeginObject() {
    Open('{');
}

void JsonWriter::EndObject() {
    Close('}');
    if (empty_.empty()) {
        text_ += '\n';
        Flush();
    }
}

void JsonWriter::BeginArray() {
    Open('[');
}

void JsonWriter::EndArray() {
    Close(']');
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    text_ += JsonString(key);
    text_ += ": ";
    afterKey_ = true;
}

void JsonWriter::String(std::string_view bytes) {
    BeforeValue();
    text_ += JsonString(bytes);
    Written();
}

void JsonWriter::Number(double value) {
    BeforeValue();
    text_ += JsonNumber(value);
    Written();
}

void JsonWriter::Integer(long long value) {
    BeforeValue();
    text_ += std::to_string(value);
    Written();
}

void JsonWriter::Boolean(bool value) {
    BeforeValue();
    text_ += value ? "true" : "false";
    Written();
}

void JsonWriter::Null() {
    BeforeValue();
    text_ += "null";
    Written();
}

void JsonWriter::Written() {
    constexpr std::size_t kFlushAt = 1 << 16;
    if (empty_.empty() || text_.size() >= kFlushAt) Flush();
}

}  // namespace mfb
