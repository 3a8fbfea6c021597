// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/Setup.h"

namespace mfb {

struct Catalogue;

// A saved setup as the current catalogues can take it. Entries are found by name: where the line
// is the one saved, it is chosen; where the catalogue's line of that name differs, the catalogue's
// is chosen and each field that differs is listed; where no line has the name, nothing is chosen
// and that is said. A fan is found by name too, else taken by its number.
struct OpenedOption {
    std::optional<std::size_t> motor;    // index into the sorted motor lines
    std::optional<std::size_t> battery;  // index into the sorted battery lines
};
struct OpenedSetup {
    // The lines and fans now chosen; an entry not found is unchosen. What was shown stays as saved.
    Setup setup;
    std::array<OpenedOption, kOptionCount> found;
    // One sentence per entry not taken as saved, option by option.
    std::vector<std::string> notes;
};

// `chosenFrom`, where given, is the catalogue the options chose their fans in, as when the
// catalogues were read again: a fan found by name whose data differ from the one chosen is noted
// too. A setup file keeps no fan data, so a setup opened from one cannot tell.
OpenedSetup OpenSetup(const Setup& saved, const Catalogue& catalogue,
                      const Catalogue* chosenFrom = nullptr);

// The name a catalogue line is chosen by: its columns 1-20.
std::string LineName(std::string_view line);

}  // namespace mfb
