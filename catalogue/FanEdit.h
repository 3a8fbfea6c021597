// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "catalogue/CatalogueEdit.h"
#include "catalogue/FanLibrary.h"

namespace mfb {

// What an editor of the fan file needs: a fan's fields taken out of its lines and put back, each
// field checked by the rules `check` applies to the file. Fans 1 to kFanCount are the blocks, a
// line per field in their fixed form; a library fan's fields are its "fan K ...:" lines. The limit
// and jet lines of kFanLineForms are fields of every fan, a blank text being an absent line.
// Only the lines of the field put are touched; every other line keeps its text and its place.

// The name, a0 to a4, the chart minimum power and the reserved value in the block's order, then
// the lines of kFanLineForms in theirs.
inline constexpr std::size_t kFanNameField = 0;
inline constexpr std::size_t kFanReservedField = std::size(kFanNumberNames);
inline constexpr std::size_t kFanFormFields = kFanReservedField + 1;  // the first of the forms
inline constexpr std::size_t kFanFieldCount = kFanFormFields + std::size(kFanLineForms);
using FanTexts = std::array<std::string, kFanFieldCount>;

// The fans an editor shows: 1 to kFanCount where the file holds its five blocks (nothing
// otherwise), then each number a library line names, whole fan or not, ascending.
std::vector<int> EditableFans(const std::vector<std::string>& fanLines);

// The texts of fan `number`'s fields, blanks around each left out; the text of the line that
// counts where a field stands on more than one.
FanTexts FanFieldTexts(const std::vector<std::string>& fanLines, int number);

// Puts `text` into the field. A block's field is its line. A library fan's line, or a line of
// kFanLineForms, takes the text after its colon; where the fan has none, a line is added after
// its last; a blank text takes away the lines of an optional field (a library fan's reserved
// value and every form). False, changing nothing, for a fan the file does not show.
bool SetFanField(std::vector<EditedLine>& lines, int number, std::size_t field,
                 const std::string& text);

// Adds a fan to the library as the number after its highest, its lines at the end of the file
// (the name and the six numbers a fan needs always, the optional fields where not blank); the
// number, or 0 when the library is full.
int AddLibraryFan(std::vector<EditedLine>& lines, const FanTexts& texts);

// Takes away every line of library fan `number`, its limit and jet lines with them; false for a
// fan on a button.
bool DeleteLibraryFan(std::vector<EditedLine>& lines, int number);

// The fan of the file that already has `name` as SameFanName compares names, the five of the
// blocks and the library's whole fans, as a sentence ("fan 2 is already named ..."); empty when
// none has. Two fans of one name cannot be told apart by a setup, which names its fans.
std::string FanNameTaken(const std::vector<std::string>& fanLines, const std::string& name,
                         char decimalSeparator);

// The fields of `fan` as a library states them, in the notation FanLibraryLines writes.
FanTexts FanTextsOf(const LibraryFan& fan, char decimalSeparator);

// What check finds on the file, by fan, each finding given to the field whose line it is on (a
// finding of a fan as a whole to its name). A library fan the reading would leave out makes the
// findings on its lines errors: saved, the fan would be gone.
std::map<int, std::vector<FieldFinding>> CheckFanFields(const std::vector<std::string>& fanLines,
                                                        char decimalSeparator);

}  // namespace mfb
