// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup/SetupFile.h"

#include <array>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "catalogue/LineLayout.h"
#include "json/JsonReader.h"
#include "json/JsonWriter.h"
#include "model/ColumnRows.h"
#include "model/DisplayFormat.h"
#include "setup/FlightSettingTable.h"

namespace mfb {

namespace {

void Text(JsonWriter& json, std::string_view key, std::string_view text) {
    json.Key(key);
    json.String(text);
}

void Whole(JsonWriter& json, std::string_view key, long long number) {
    json.Key(key);
    json.Integer(number);
}

void WriteChosen(JsonWriter& json, std::string_view key, const ChosenLine& chosen) {
    json.Key(key);
    if (!chosen.chosen()) {
        json.Null();
        return;
    }
    json.BeginObject();
    Text(json, "name", chosen.name);
    Text(json, "line", chosen.line);
    json.EndObject();
}

void WriteCells(JsonWriter& json, int serie, int parallel) {
    json.Key("cells");
    json.BeginObject();
    Whole(json, "serie", serie);
    Whole(json, "parallel", parallel);
    json.EndObject();
}

constexpr std::string_view kAllUpWeight = "All-up weight";

void WriteFan(JsonWriter& json, int number, std::string_view name) {
    json.Key("fan");
    json.BeginObject();
    Whole(json, "number", number);
    Text(json, "name", name);
    json.EndObject();
}

void WriteName(JsonWriter& json, std::string_view key, const std::string& name) {
    json.Key(key);
    if (name.empty()) {
        json.Null();
    } else {
        json.String(name);
    }
}

void WriteShown(JsonWriter& json, const std::optional<ShownResult>& shown) {
    json.Key("shown");
    if (!shown) {
        json.Null();
        return;
    }
    json.BeginObject();
    const CalculatedFor& c = shown->calculatedFor;
    WriteName(json, "motor", c.motor);
    WriteName(json, "battery", c.battery);
    WriteFan(json, c.fan, c.fanName);
    WriteCells(json, c.serie, c.parallel);
    if (!shown->reached()) Text(json, "not_possible", shown->notPossible);
    json.Key("values");
    json.BeginArray();
    for (const ColumnRow& row : kColumnRows) {
        json.BeginObject();
        Text(json, "caption", Caption(row.field));
        Text(json, "value", shown->values[static_cast<std::size_t>(row.field)]);
        Text(json, "unit", row.unit);
        json.EndObject();
    }
    json.EndArray();
    json.Key("figures");
    json.BeginObject();
    const auto captions = ShownFigureCaptions();
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (!shown->figures[i].empty()) Text(json, captions[i], shown->figures[i]);
    }
    if (!shown->allUpWeight.empty()) Text(json, kAllUpWeight, shown->allUpWeight);
    json.EndObject();
    json.Key("limits");
    json.BeginObject();
    for (const LimitRow& row : kLimitRows) {
        const std::string& cell = shown->limits[static_cast<std::size_t>(row.kind)];
        if (!cell.empty()) Text(json, row.key, cell);
    }
    json.EndObject();
    json.EndObject();
}

void WriteFigures(JsonWriter& json, const SetupFigures& figures) {
    json.Key("figures");
    json.BeginObject();
    for (const FlightSettingRow& row : kFlightSettingRows) {
        if (const auto& value = figures.*row.given) {
            json.Key(row.key);
            json.Number(*value);
        }
    }
    json.EndObject();
}

[[noreturn]] void Damaged(const std::string& what) {
    throw SetupError("It is damaged: " + what + ".");
}

// UTF-8 as the reader decodes it, back to the Latin-1 bytes the catalogues hold.
std::string Latin1(const std::string& utf8, const std::string& where) {
    std::string bytes;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            bytes += static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F));
        } else {
            Damaged(where + " holds a character no catalogue can");
        }
    }
    return bytes;
}

// One object of the file, named by where it stands ("options[2].cells") for the messages.
class Members {
public:
    Members(const JsonValue& value, std::string where) : where_(std::move(where)) {
        object_ = std::get_if<std::shared_ptr<JsonObject>>(&value.data);
        if (object_ == nullptr) Damaged(where_ + " is not an object");
    }

    const JsonValue* Find(const std::string& key) const {
        const auto it = (*object_)->find(key);
        return it == (*object_)->end() ? nullptr : &it->second;
    }
    const JsonValue& Need(const std::string& key) const {
        const JsonValue* value = Find(key);
        if (value == nullptr) Damaged(Where(key) + " is missing");
        return *value;
    }
    std::string Where(const std::string& key) const {
        return where_.empty() ? key : where_ + '.' + key;
    }

    int Integer(const std::string& key, int min, int max) const {
        const double* number = std::get_if<double>(&Need(key).data);
        if (number == nullptr || !(*number >= min && *number <= max) ||
            *number != std::floor(*number)) {
            Damaged(Where(key) + " is not a whole number from " + std::to_string(min) + " to " +
                    std::to_string(max));
        }
        return static_cast<int>(*number);
    }
    std::string Text(const std::string& key) const {
        const std::string* text = std::get_if<std::string>(&Need(key).data);
        if (text == nullptr) Damaged(Where(key) + " is not a text");
        return Latin1(*text, Where(key));
    }
    const JsonArray& Array(const std::string& key, std::size_t size = 0) const {
        const auto* array = std::get_if<std::shared_ptr<JsonArray>>(&Need(key).data);
        if (array == nullptr || (size != 0 && (*array)->size() != size)) {
            Damaged(Where(key) + (size != 0 ? " is not a list of " + std::to_string(size)
                                            : std::string(" is not a list")));
        }
        return **array;
    }

private:
    const std::shared_ptr<JsonObject>* object_;
    std::string where_;
};

ChosenLine ReadChosen(const Members& option, const std::string& key) {
    const JsonValue& value = option.Need(key);
    if (value.IsNull()) return {};
    const Members chosen(value, option.Where(key));
    ChosenLine line{chosen.Text("name"), chosen.Text("line")};
    if (!line.chosen()) Damaged(option.Where(key) + " names no line");
    // The name is the line's first columns; a longer one was never written by a save.
    if (line.name.size() > kNameColumns.width) {
        Damaged(chosen.Where("name") + " is longer than the " + std::to_string(kNameColumns.width) +
                " characters of a name");
    }
    return line;
}

// A name the calculation was for: a text, or null where nothing was chosen.
std::string ReadName(const Members& shown, const std::string& key) {
    const JsonValue& value = shown.Need(key);
    if (value.IsNull()) return {};
    return shown.Text(key);
}

// The texts of an object keyed by `keys`, each optional, into `cells`.
template <std::size_t N, class Key>
void ReadKeyedTexts(const Members& object, const std::array<Key, N>& keys,
                    std::array<std::string, N>& cells) {
    for (std::size_t i = 0; i < N; ++i) {
        const std::string key(keys[i]);
        if (object.Find(key) != nullptr) cells[i] = object.Text(key);
    }
}

// Version 1 kept only the cells a Calculate read, its values and its notes as sentences: its
// result is taken to be of the option's own names and fan, and its figures are worked out again
// when it is calculated on opening.
std::optional<ShownResult> ReadShown(const Members& option, const SetupOption& chosen,
                                     int version) {
    const JsonValue& value = option.Need("shown");
    if (value.IsNull()) return std::nullopt;
    const Members shown(value, option.Where("shown"));
    ShownResult result;
    CalculatedFor& c = result.calculatedFor;
    c = ChosenCombination(chosen);
    const Members cells(shown.Need("cells"), shown.Where("cells"));
    c.serie = cells.Integer("serie", kMinSerie, kMaxSerie);
    c.parallel = cells.Integer("parallel", kMinParallel, kMaxParallel);
    const JsonArray& values = shown.Array("values", kColumnRows.size());
    for (std::size_t i = 0; i < kColumnRows.size(); ++i) {
        const Members row(values[i], shown.Where("values[" + std::to_string(i) + ']'));
        if (row.Text("caption") != Caption(kColumnRows[i].field)) {
            Damaged(row.Where("caption") + " is not \"" +
                    std::string(Caption(kColumnRows[i].field)) + '"');
        }
        result.values[static_cast<std::size_t>(kColumnRows[i].field)] = row.Text("value");
    }
    if (version == 1) return result;
    c.motor = ReadName(shown, "motor");
    c.battery = ReadName(shown, "battery");
    const Members fan(shown.Need("fan"), shown.Where("fan"));
    c.fan = fan.Integer("number", 1, kFanCount);
    c.fanName = fan.Text("name");
    if (shown.Find("not_possible") != nullptr) {
        result.notPossible = shown.Text("not_possible");
        if (result.reached()) Damaged(shown.Where("not_possible") + " is empty");
    }
    const Members figures(shown.Need("figures"), shown.Where("figures"));
    ReadKeyedTexts(figures, ShownFigureCaptions(), result.figures);
    if (figures.Find(std::string(kAllUpWeight)) != nullptr) {
        result.allUpWeight = figures.Text(std::string(kAllUpWeight));
    }
    std::array<std::string_view, kLimitKindCount> limitKeys{};
    for (const LimitRow& row : kLimitRows) limitKeys[static_cast<std::size_t>(row.kind)] = row.key;
    ReadKeyedTexts(Members(shown.Need("limits"), shown.Where("limits")), limitKeys, result.limits);
    return result;
}

SetupOption ReadOption(const JsonValue& value, std::size_t index, int version) {
    const Members option(value, "options[" + std::to_string(index) + ']');
    SetupOption o;
    o.motor = ReadChosen(option, "motor");
    o.battery = ReadChosen(option, "battery");
    const Members fan(option.Need("fan"), option.Where("fan"));
    o.fan = fan.Integer("number", 1, kFanCount);
    o.fanName = fan.Text("name");
    const Members cells(option.Need("cells"), option.Where("cells"));
    o.serie = cells.Integer("serie", kMinSerie, kMaxSerie);
    o.parallel = cells.Integer("parallel", kMinParallel, kMaxParallel);
    o.shown = ReadShown(option, o, version);
    return o;
}

SetupFigures ReadFigures(const Members& figures, int version) {
    SetupFigures read;
    for (const FlightSettingRow& row : kFlightSettingRows) {
        const std::string key(version == 1 ? row.firstKey : row.key);
        const JsonValue* value = figures.Find(key);
        if (value == nullptr) continue;
        const double* number = std::get_if<double>(&value->data);
        if (number == nullptr || !row.holds(*number)) {
            const bool weight = row.share == nullptr;
            Damaged(figures.Where(key) + " is not " + (weight ? "a weight" : "a fraction") +
                    " from " + ExactNumber(row.least) + " to " + ExactNumber(row.most) +
                    (weight ? " g" : ""));
        }
        read.*row.given = *number;
    }
    return read;
}

}  // namespace

std::string WriteSetup(const Setup& setup) {
    std::ostringstream out;
    JsonWriter json(out);
    json.BeginObject();
    Text(json, "format", kSetupFormat);
    Whole(json, "version", kSetupVersion);
    Whole(json, "selected_option", setup.selected);
    WriteFigures(json, setup.figures);
    json.Key("options");
    json.BeginArray();
    for (const SetupOption& option : setup.options) {
        json.BeginObject();
        WriteChosen(json, "motor", option.motor);
        WriteChosen(json, "battery", option.battery);
        WriteFan(json, option.fan, option.fanName);
        WriteCells(json, option.serie, option.parallel);
        WriteShown(json, option.shown);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return out.str();
}

Setup ReadSetup(std::string_view text) {
    // Some editors begin a UTF-8 file with a byte-order mark; the file is ASCII all the same.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        text.remove_prefix(kByteOrderMark.size());
    }
    JsonValue document;
    try {
        document = ParseJson(text);
    } catch (const std::runtime_error& e) {
        // A file that names the format and then fails is a setup gone bad, not some other file.
        if (text.find(kSetupFormat) != std::string_view::npos) Damaged(e.what());
        throw SetupError("It is not a setup file.");
    }
    const auto* object = std::get_if<std::shared_ptr<JsonObject>>(&document.data);
    const auto format = object != nullptr ? (*object)->find("format") : JsonObject::iterator();
    if (object == nullptr || format == (*object)->end() ||
        std::get_if<std::string>(&format->second.data) == nullptr ||
        format->second.String() != kSetupFormat) {
        throw SetupError("It is not a setup file.");
    }
    const Members top(document, std::string());
    const double* version = std::get_if<double>(&top.Need("version").data);
    if (version != nullptr && *version > kSetupVersion && *version == std::floor(*version)) {
        throw SetupError("It was written by a newer version of the program (setup format " +
                         ExactNumber(*version) + "); this one reads format " +
                         std::to_string(kSetupVersion) + ".");
    }
    const int fileVersion = top.Integer("version", 1, kSetupVersion);

    Setup setup;
    setup.selected = top.Integer("selected_option", 1, kOptionCount);
    setup.figures = ReadFigures(Members(top.Need("figures"), top.Where("figures")), fileVersion);
    const JsonArray& options = top.Array("options", kOptionCount);
    for (std::size_t k = 0; k < options.size(); ++k)
        setup.options[k] = ReadOption(options[k], k + 1, fileVersion);
    return setup;
}

}  // namespace mfb
