// SPDX-License-Identifier: GPL-3.0-or-later
#include "json/JsonWriter.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <sstream>

#include "json/JsonReader.h"

namespace mfb {
namespace {

TEST(Json, StringEscapes) {
    struct Row {
        std::string bytes;
        std::string literal;
    };
    const std::vector<Row> rows = {
        {"Fan 70 mm", "\"Fan 70 mm\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"a\\b", "\"a\\\\b\""},
        {"line\nnext\ttab\rcr", "\"line\\nnext\\ttab\\rcr\""},
        {std::string("nul\0x", 5), "\"nul\\u0000x\""},
        {"\x1f\x7f", "\"\\u001f\\u007f\""},
        {"\xC9mile", "\"\\u00c9mile\""},
        {"\xFF\x80", "\"\\u00ff\\u0080\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.literal);
        EXPECT_EQ(JsonString(row.bytes), row.literal);
    }
}

TEST(Json, LatinOneBytesReadBackAsTheirCodePoints) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string decoded = ParseJson(JsonString(all)).String();
    std::string expected;  // the same text in UTF-8
    for (int b = 1; b < 256; ++b) {
        if (b < 0x80) {
            expected += static_cast<char>(b);
        } else {
            expected += static_cast<char>(0xC0 | (b >> 6));
            expected += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    EXPECT_EQ(decoded, expected);
}

TEST(Json, NumbersReadBackToTheSameDouble) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             75.0,
                             0.1,
                             80.099999999999994,
                             1.0 / 3.0,
                             22.200000000000003,
                             -1234.5678,
                             DBL_MAX,
                             -DBL_MAX,
                             DBL_MIN,
                             std::numeric_limits<double>::denorm_min(),
                             1e-10,
                             std::nextafter(75.1, 100.0)};
    for (const double v : values) {
        const std::string text = JsonNumber(v);
        SCOPED_TRACE(text);
        const double back = ParseJson(text).Number();
        EXPECT_EQ(back, v);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
    }
}

TEST(Json, NonFiniteNumbersBecomeNull) {
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonNumber(-std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
}

TEST(Json, WriterNestsObjectsWithCommas) {
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject();
    json.Key("empty");
    json.BeginObject();
    json.EndObject();
    json.Key("inner");
    json.BeginObject();
    json.Key("a");
    json.Integer(-3);
    json.Key("b");
    json.Null();
    json.EndObject();
    json.Key("s");
    json.String("\xE9");
    json.Key("x");
    json.Number(0.5);
    json.EndObject();

    const JsonValue v = ParseJson(out.str());
    EXPECT_TRUE(v["empty"].Object().empty());
    EXPECT_EQ(v["inner"]["a"].Number(), -3);
    EXPECT_TRUE(v["inner"]["b"].IsNull());
    EXPECT_EQ(v["s"].String(), "\xC3\xA9");
    EXPECT_EQ(v["x"].Number(), 0.5);
    EXPECT_EQ(out.str().back(), '\n');
}

}  // namespace
}  // namespace mfb
