// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace mfb {

// A run of columns of a catalogue line, counted from 1.
struct Columns {
    std::size_t start, width;
    constexpr std::size_t last() const { return start + width - 1; }
};

// A number field of a motor or battery line: where it stands, what it means and which values are
// physically possible. A resistance or a no-load current may be 0 (an ideal part); a kv, a
// voltage, a capacity or a weight of 0 or less describes nothing that exists.
struct NumberField {
    const char* name;
    Columns columns;
    bool zeroPossible = false;
};

inline constexpr Columns kEntryColumns{1, 44};
inline constexpr Columns kNameColumns{1, 20};

// In column order, which is also the order in which a choice converts them.
inline constexpr NumberField kMotorFields[] = {
    {"kv", {45, 4}}, {"Ri", {51, 5}, true}, {"Io", {59, 4}, true}};
inline constexpr NumberField kBatteryFields[] = {{"capacity", {45, 4}},
                                                 {"cell resistance", {51, 6}, true},
                                                 {"cell voltage", {59, 5}},
                                                 {"cell weight", {65, 4}}};

// The seven numbers of a fan block, one per line after its name.
inline constexpr const char* kFanNumberNames[] = {
    "a0", "a1", "a2", "a3", "a4", "chart minimum power", "reserved"};

}  // namespace mfb
