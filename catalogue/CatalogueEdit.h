// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/CatalogueCheck.h"
#include "catalogue/LineLayout.h"

namespace mfb {

// What an editor of the motor and battery catalogues needs: a line split into its fields and put
// together again, each field checked by the rule `check` applies to the line, and the file written
// back in its own notation with every line that was left alone byte for byte as it was.

// A field of a motor or battery line as an editor shows it: its columns and its title with the
// unit. Numbers stand right-aligned in their columns, texts left-aligned.
struct ItemField {
    const char* title;
    Columns columns;
    bool number;
    bool optional;  // a limit: blank is absent
};
// Name, list text, the number fields in column order, then the limits. Motor or battery by `file`
// (kMotorFile, kBatteryFile).
std::span<const ItemField> ItemFields(std::string_view file);

// The fields' texts of a line, blanks around each left out.
std::vector<std::string> FieldTexts(std::string_view line, std::string_view file);

// `base` with each field whose text differs from base's put into its columns; every other column
// of base kept. A text wider than its columns is cut (CheckFields says so). Base itself when no
// field differs; blanks a change adds at the end are left out.
std::string ComposeLine(std::string_view base, const std::vector<std::string>& texts,
                        std::string_view file);

// A finding of a field, or of the line as a whole (field npos).
struct FieldFinding {
    std::size_t field;
    Severity severity;
    std::string message;
};
// What check finds on the line ComposeLine makes, each finding given to the field it points into.
std::vector<FieldFinding> CheckFields(std::string_view base, const std::vector<std::string>& texts,
                                      std::string_view file, char separator);

// A catalogue file's lines, each with its own line end, so that any of them can be written back
// exactly as it was read.
struct EditableText {
    std::vector<std::string> lines;
    std::vector<std::string> ends;  // "" for a last line without a line end
    std::string newLineEnd;         // for a line that is added: the file's first line end, or LF
};
EditableText SplitEditable(std::string_view text);

// One line of the file an editor writes: a line of the file as read (its index) or a new one.
struct EditedLine {
    std::optional<std::size_t> original;
    std::string text;
};
// The lines' texts, in their order.
std::vector<std::string> LineTexts(const std::vector<EditedLine>& lines);

// The file's bytes with `lines` in their order: a line as read with its own line end, a new one
// or one that is no longer last with newLineEnd where it had none.
std::string WriteEdited(const EditableText& read, const std::vector<EditedLine>& lines);

}  // namespace mfb
