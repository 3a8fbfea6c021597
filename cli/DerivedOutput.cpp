// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DerivedOutput.h"

#include "json/JsonWriter.h"

namespace mfb::cli {

void WriteDerivedJson(JsonWriter& json, const DerivedFigures& figures) {
    json.BeginObject();
    for (const DerivedRow& row : kDerivedRows) {
        json.Key(row.key);
        json.Number(figures.*row.value);
    }
    json.EndObject();
}

void WriteLimitsJson(JsonWriter& json, const LimitChecks& checks) {
    json.BeginObject();
    for (const LimitRow& row : kLimitRows) {
        const auto& check = checks[static_cast<std::size_t>(row.kind)];
        if (!check) continue;
        json.Key(row.key);
        json.BeginObject();
        json.Key("value");
        json.Number(check->value);
        json.Key("limit");
        json.Number(check->limit);
        json.Key("margin");
        json.Number(check->margin);
        json.Key("exceeded");
        json.Boolean(check->exceeded);
        json.EndObject();
    }
    json.EndObject();
}

}  // namespace mfb::cli
