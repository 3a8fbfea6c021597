// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "explore/Explorer.h"

namespace mfb {

struct Catalogue;

// The settings of a search as the user gives them, and the rules that make them a request: the
// command line and the Find window read their texts with these, so the two cannot disagree about
// what a setting means or when it is refused. Each front end names a setting its own way in the
// messages: the command line by its option, the window by its label.

enum class SettingNaming { Option, Label };

// A setting's name on the command line and in the window; also a message given in both wordings.
struct SettingName {
    std::string_view option;
    std::string_view label;
    std::string_view In(SettingNaming naming) const {
        return naming == SettingNaming::Option ? option : label;
    }
};

// A setting that does not describe a search; the message names it as the front end does.
class ExploreSettingError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// The most rows a search keeps: as many as the window's table shows without a pause.
inline constexpr int kMaxTop = 100000;
inline constexpr int kMaxShards = 100000;

// What the user set, before the rules: the request without its ranking, which the key and the
// target decide together.
struct ExploreSettings {
    ExploreRequest request;
    // Unset: closeness to the target if there is one, else the catalogue's default (KeyFor).
    std::optional<ExploreKey> key;
    std::optional<double> targetPower;   // W
    std::optional<double> targetThrust;  // g
};

// The motor and cell type patterns: entry patterns as MatchesPattern takes them.
struct ExplorePatternField {
    std::string_view noun;  // one entry, for the message
    SettingName name;
    std::vector<std::string> Catalogue::*lines;
    std::vector<std::size_t> ExploreSpace::*chosen;
};
std::span<const ExplorePatternField> ExplorePatternFields();
// The lines the pattern chooses, every line without one; throws when a pattern matches nothing.
std::vector<std::size_t> ChooseLines(const ExplorePatternField& field, const Catalogue& catalogue,
                                     const std::optional<std::string>& pattern,
                                     SettingNaming naming);

// The fans and the cell counts: lists such as "4,6,8-10" (ParseCountList).
struct ExploreListField {
    std::string_view key;  // the window's object name
    SettingName name;
    int low, high;
    std::string_view form;  // a valid list, for the message
    std::vector<int> ExploreSpace::*counts;
};
std::span<const ExploreListField> ExploreListFields();
std::vector<int> ParseListSetting(const ExploreListField& field, std::string_view text,
                                  SettingNaming naming);

// The fans a list names in `catalogue`, the five of the blocks and those of its library: entries
// between commas, each a number or range as the fan list field takes them, or the whole name of
// one fan, blanks around it and case ignored. An entry of digits and dashes is a number; a name
// holds no comma, so a fan whose name has one is named by its number. Ascending without repeats.
// Throws where a name matches no fan or several, or a number is no fan of the catalogue.
std::vector<int> ParseFanSetting(std::string_view text, const Catalogue& catalogue,
                                 SettingNaming naming);

// The budgets, the power range and the target: each a number of at least 0, unset when not
// given. The command line gives the power range as one option, the window as two fields.
struct ExploreNumberField {
    std::string_view key;  // the window's object name
    SettingName name;
    std::optional<double>& (*value)(ExploreSettings& settings);
};
std::span<const ExploreNumberField> ExploreNumberFields();
// A number written with `decimalSeparator`, read by the catalogues' number rule; throws, naming
// the setting `name`, when it is not one of at least 0, the empty text included.
double ParseNumberSetting(std::string_view name, std::string_view text, char decimalSeparator);

// The request the settings describe: the power range must not run backwards; a target ranks by
// closeness to it and refuses another key, and so does the other target; closeness without a
// target power aims at the middle of the power range, and needs one; closeness without a target
// thrust has nothing to aim at. A Pareto front is sorted by its own key and shown whole. The key
// the catalogue decides (KeyFor) is left at rpm here.
ExploreRequest ResolveSettings(const ExploreSettings& settings, SettingNaming naming);
// Whether the settings choose the ranking, or leave it to the catalogue.
bool KeyChosen(const ExploreSettings& settings);
// The key of a resolved request on a loaded catalogue: a Pareto front's first axis, the default
// ranking (DefaultKey) where the settings chose none, else the request's own.
ExploreKey KeyFor(const ExploreRequest& request, bool keyChosen, const Catalogue& catalogue);

// No catalogue comes near this many lines; a list of entries that claims more is damage.
inline constexpr long long kMostCatalogueLines = 1 << 22;

// The line of a shard file that keeps a field of the request, where its field table says so
// rather than the shard file's own records.
enum class ShardLine { Elsewhere, Space, Filter };

// A field of the request as the code that stores it sees it: a pointer to its member.
using ExploreFieldMember =
    std::variant<std::monostate, std::vector<std::size_t> ExploreSpace::*,
                 std::vector<int> ExploreSpace::*, std::optional<double> ExploreFilter::*,
                 std::optional<double> ExploreRequest::*, bool ExploreRequest::*,
                 int ExploreRequest::*, char ExploreRequest::*>;

// Every field of ExploreRequest as text, and whether it is part of what a search finds (two runs
// that differ in one find different rows) rather than of how it runs. The key and the number of
// rows are left out of the first kind: a shard stores and compares them itself. A field a shard's
// space or filter line keeps names its member and the bounds a search holds it within (of a whole
// number, or of each entry of a list), so that a reader refuses what no search writes.
struct ExploreRequestField {
    std::string_view name;
    bool defining;
    std::string (*text)(const ExploreRequest& request);
    ShardLine shardLine = ShardLine::Elsewhere;
    ExploreFieldMember member = {};
    long long low = 0;
    long long high = 0;
};
std::span<const ExploreRequestField> ExploreRequestFields();

// A number as a search's fingerprint and a shard file keep it: hexadecimal floating point, which
// reads back to the same double; OptionalHexNumber gives "-" for none.
std::string HexNumber(double value);
std::string OptionalHexNumber(const std::optional<double>& value);

}  // namespace mfb
