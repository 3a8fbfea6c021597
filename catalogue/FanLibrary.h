// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/Limits.h"
#include "model/OptionSlot.h"

namespace mfb {

// The fan library: fans beyond the five blocks of the fan file, any number of them, each on lines
// of its own after the blocks, where a reader that knows only the five blocks sees free text:
//
//   fan K name: NAME
//   fan K a0: NUMBER           ... a1 to a4 alike
//   fan K chart minimum power: NUMBER
//   fan K reserved: NUMBER     (optional, 0 when absent)
//
// with K from 6 to kMostFanNumber, case ignored and blanks allowed around each part. A library fan
// states its rpm limit and jet data on the lines of kFanLineForms, as the five do ("swept area fan
// 6: 39.6"). A fan whose name or one of its six numbers is missing or malformed is left out, and
// reported as a finding; it never stops the loading.
inline constexpr int kMostFanNumber = 999;

struct LibraryFan {
    int number = 0;  // K, above kFanCount
    TFanData fan;
    std::optional<double> maxRpm;
    TFanJetData jet;
};

// The library's whole fans, by ascending number.
std::vector<LibraryFan> ReadFanLibrary(const std::vector<std::string>& fanLines,
                                       char decimalSeparator);

// What is wrong with the library's lines: a fan left out and why, a value that does not read, a
// fan number outside the library's. `most` as LimitFindings.
std::vector<CatalogueFinding> FanLibraryFindings(const std::vector<std::string>& fanLines,
                                                 char decimalSeparator,
                                                 std::size_t most = static_cast<std::size_t>(-1));

// Where the number of a library line stands ("fan 6 a0: 1234.5"); nothing for its name line and
// any other line.
std::optional<LimitColumns> LibraryNumberAt(std::string_view line);

// The fan and the field a library line states: 0 for the name, then 1 to 7 for the numbers of
// kFanNumberNames in their order; nothing for any other line. `fan` is 0 where the line's number
// is none a fan may have.
struct LibraryLineField {
    int fan = 0;
    std::size_t field = 0;
    LimitColumns valueColumns{0, 0};
};
std::optional<LibraryLineField> LibraryLineAt(std::string_view line);

// The numbers of the fans the library's lines name, whole or not, ascending.
std::vector<int> LibraryFanNumbers(const std::vector<std::string>& fanLines);

// Library fan `number` onto fan button `button` (1..kFanCount), and the fan that stood there into
// the library as fan `number`: the block's lines take the library fan's name and numbers as
// written, its library lines the block's, and the limit and jet lines of the two trade their fan
// numbers. No other line changes, and the same swap again gives the lines back. A library fan
// without a reserved line leaves 0 there in the block. False, changing nothing, where the blocks
// are not all there or the library has no whole fan of that number.
bool SwapFans(std::vector<std::string>& fanLines, int button, int number);

// The lines that state `fan` in the library, numbers written with `decimalSeparator` as the fan
// file keeps them (FanFileNumber): its name and numbers, then its limit and jet data, where known.
std::vector<std::string> FanLibraryLines(const LibraryFan& fan, char decimalSeparator);

}  // namespace mfb
