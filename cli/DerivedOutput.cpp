// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/DerivedOutput.h"

#include "json/JsonWriter.h"
#include "model/DisplayFormat.h"
#include "setup/FlightSettingTable.h"

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

void WriteOptional(JsonWriter& json, std::string_view key, const std::optional<double>& value) {
    json.Key(key);
    if (value) {
        json.Number(*value);
    } else {
        json.Null();
    }
}

void WriteFlightJson(JsonWriter& json, const FlightFigures& figures) {
    json.BeginObject();
    for (const FlightRow& row : kFlightRows) WriteOptional(json, row.key, row.value(figures));
    json.Key("part_throttle");
    if (const auto& part = figures.part) {
        json.BeginObject();
        const std::pair<std::string_view, double> members[] = {
            {"fan_rpm", part->fanRpm},
            {"shaft_power", part->shaftPower},
            {"motor_current", part->motorCurrent},
            {"motor_power", part->motorPower},
            {"pack_current", part->packCurrent}};
        for (const auto& [key, value] : members) {
            json.Key(key);
            json.Number(value);
        }
        json.Key("fan_law_below");
        if (part->fanLaw) {
            json.Number(part->fanLawFrom);
        } else {
            json.Null();
        }
        json.EndObject();
    } else {
        json.Null();
    }
    json.Key("part_refusal");
    if (figures.refusal.reason == PartRefusal::None) {
        json.Null();
    } else {
        json.String(DescribeRefusal(figures.refusal, '.'));
    }
    json.EndObject();
}

void WriteFlightSettingsJson(JsonWriter& json, const FlightSettings& settings) {
    json.BeginObject();
    for (const FlightSettingRow& row : kFlightSettingRows) {
        WriteOptional(
            json, row.key,
            row.share != nullptr ? std::optional(settings.*row.share) : settings.modelWeight);
    }
    json.EndObject();
}

std::string DescribeFlightSettings(const FlightSettings& settings, char separator) {
    const auto percent = [&](double share) { return FormatValue(share * 100, separator) + " %"; };
    return "Flight: " + percent(settings.throttle) + " part throttle, " +
           percent(settings.fullShare) + " of the time at full throttle, " +
           percent(settings.usable) + " of the capacity";
}

}  // namespace mfb::cli
