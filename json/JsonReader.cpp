// SPDX-License-Identifier: GPL-3.0-or-later
#include "json/JsonReader.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "model/Error.h"

namespace mfb {

namespace {

class Parser {
public:
    explicit Parser(std::string_view text)
        : s_(text), budget_(std::max(kLeastBudget, text.size() * kBytesPerTextByte)) {}

    JsonValue Document() {
        JsonValue v = Value();
        SkipBlanks();
        if (i_ != s_.size()) Fail("text after the value");
        return v;
    }

private:
    [[noreturn]] void Fail(const std::string& what) {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(i_));
    }

    void SkipBlanks() {
        while (i_ < s_.size() &&
               (s_[i_] == ' ' || s_[i_] == '\n' || s_[i_] == '\t' || s_[i_] == '\r'))
            ++i_;
    }

    bool Take(char c) {
        SkipBlanks();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }

    void Expect(char c) {
        if (!Take(c)) Fail(std::string("expected '") + c + "'");
    }

    bool TakeWord(std::string_view word) {
        if (s_.substr(i_, word.size()) != word) return false;
        i_ += word.size();
        return true;
    }

    // What the values read so far take in memory, roughly but never much less: a text of a few
    // bytes per value ("[[],[],...]") would otherwise take fifty times its size.
    void Charge(std::size_t bytes) {
        spent_ += bytes;
        if (spent_ > budget_) Fail("more values than a text of its size may hold");
    }

    JsonValue Value() {
        // Each level is a call: a file of nothing but brackets must not run the stack out.
        if (depth_ == kMaxDepth) Fail("nested too deeply");
        // Twice the value, for the spare room of the array that holds it.
        Charge(2 * sizeof(JsonValue));
        ++depth_;
        JsonValue value = Nested();
        --depth_;
        return value;
    }

    JsonValue Nested() {
        SkipBlanks();
        if (i_ >= s_.size()) Fail("unexpected end");
        const char c = s_[i_];
        if (c == '{') return Object();
        if (c == '[') return Array();
        if (c == '"') return JsonValue{StringLiteral()};
        if (TakeWord("null")) return JsonValue{nullptr};
        if (TakeWord("true")) return JsonValue{true};
        if (TakeWord("false")) return JsonValue{false};
        return JsonValue{NumberLiteral()};
    }

    JsonValue Object() {
        Expect('{');
        Charge(kContainerBytes);
        auto object = std::make_shared<JsonObject>();
        if (!Take('}')) {
            do {
                SkipBlanks();
                std::string key = StringLiteral();
                Charge(kMemberBytes);
                Expect(':');
                if (!object->emplace(key, Value()).second) Fail("duplicate key " + Quoted(key));
            } while (Take(','));
            Expect('}');
        }
        return JsonValue{object};
    }

    JsonValue Array() {
        Expect('[');
        Charge(kContainerBytes);
        auto array = std::make_shared<JsonArray>();
        if (!Take(']')) {
            do array->push_back(Value());
            while (Take(','));
            Expect(']');
        }
        return JsonValue{array};
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string StringLiteral() {
        if (i_ >= s_.size() || s_[i_] != '"') Fail("expected a string");
        ++i_;
        std::string out;
        for (;;) {
            if (i_ >= s_.size()) Fail("unterminated string");
            const auto c = static_cast<unsigned char>(s_[i_++]);
            if (c == '"') return out;
            if (c < 0x20) Fail("control character in a string");
            if (c >= 0x80) Fail("raw non-ASCII byte in a string");
            Charge(1);
            if (c != '\\') {
                out += static_cast<char>(c);
                continue;
            }
            if (i_ >= s_.size()) Fail("unterminated escape");
            const char e = s_[i_++];
            switch (e) {
                case '"':
                    out += '"';
                    break;
                case '\\':
                    out += '\\';
                    break;
                case '/':
                    out += '/';
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    if (i_ + 4 > s_.size()) Fail("short \\u escape");
                    // Exactly four hexadecimal digits: no sign, blank or "0x" as strtoul takes.
                    unsigned code = 0;
                    const char* first = s_.data() + i_;
                    const auto [end, error] = std::from_chars(first, first + 4, code, 16);
                    if (error != std::errc() || end != first + 4 || *first == '-') {
                        Fail("bad \\u escape");
                    }
                    i_ += 4;
                    AppendUtf8(out, code);
                    break;
                }
                default:
                    Fail("unknown escape");
            }
        }
    }

    double NumberLiteral() {
        const std::size_t start = i_;
        const auto digits = [&] {
            const std::size_t from = i_;
            while (i_ < s_.size() && s_[i_] >= '0' && s_[i_] <= '9') ++i_;
            if (i_ == from) Fail("expected digits");
        };
        if (i_ < s_.size() && s_[i_] == '-') ++i_;
        if (i_ < s_.size() && s_[i_] == '0') {
            ++i_;
        } else {
            digits();
        }
        if (i_ < s_.size() && s_[i_] == '.') {
            ++i_;
            digits();
        }
        if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '+' || s_[i_] == '-')) ++i_;
            digits();
        }
        // from_chars, unlike strtod, ignores the locale, which a window program has switched on.
        double value = 0;
        const auto [end, error] = std::from_chars(s_.data() + start, s_.data() + i_, value);
        if (error != std::errc() || end != s_.data() + i_) Fail("number out of range");
        return value;
    }

    // A key as a message quotes it: the start of a long one, and no control characters.
    static std::string Quoted(const std::string& key) {
        constexpr std::size_t kMostShown = 60;
        std::string shown = "\"";
        for (std::size_t i = 0; i < key.size() && i < kMostShown; ++i) {
            const auto c = static_cast<unsigned char>(key[i]);
            if (c < 0x20 || c == 0x7f) {
                constexpr char kHex[] = "0123456789abcdef";
                shown += "\\u00";
                shown += kHex[c >> 4];
                shown += kHex[c & 0xf];
            } else {
                shown += static_cast<char>(c);
            }
        }
        if (key.size() > kMostShown) shown += kCutMark;
        return shown + '"';
    }

    static constexpr std::size_t kLeastBudget = std::size_t{1} << 20;
    static constexpr std::size_t kBytesPerTextByte = 8;
    static constexpr std::size_t kContainerBytes = 64;  // the shared block and the container
    static constexpr std::size_t kMemberBytes = 96;     // a map node and its key

    std::string_view s_;
    std::size_t budget_;
    std::size_t spent_ = 0;
    std::size_t i_ = 0;
    static constexpr int kMaxDepth = 256;
    int depth_ = 0;
};

}  // namespace

JsonValue ParseJson(std::string_view text) {
    return Parser(text).Document();
}

}  // namespace mfb
