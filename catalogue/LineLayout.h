// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>

namespace mfb {

// A run of columns of a catalogue line, counted from 1.
struct Columns {
    std::size_t start, width;
    constexpr std::size_t last() const { return start + width - 1; }
};

// A number field of a motor or battery line: where it stands and what it means. Every one of them
// must be positive for the model to make sense of it.
struct NumberField {
    const char* name;
    Columns columns;
};

inline constexpr Columns kEntryColumns{1, 44};
inline constexpr Columns kNameColumns{1, 20};

// In column order, which is also the order in which a choice converts them.
inline constexpr NumberField kMotorFields[] = {{"kv", {45, 4}}, {"Ri", {51, 5}}, {"Io", {59, 4}}};
inline constexpr NumberField kBatteryFields[] = {{"capacity", {45, 4}},
                                                 {"cell resistance", {51, 6}},
                                                 {"cell voltage", {59, 5}},
                                                 {"cell weight", {65, 4}}};

// The seven numbers of a fan block, one per line after its name.
inline constexpr const char* kFanNumberNames[] = {
    "a0", "a1", "a2", "a3", "a4", "chart minimum power", "reserved"};

}  // namespace mfb
