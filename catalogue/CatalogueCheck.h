// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"

namespace mfb {

enum class Severity { Error, Warning };

// One thing found in a catalogue file. An error is what makes the loading or a choice fail; a
// warning is what loads but is probably not what the author meant.
struct Finding {
    std::string file;             // kMotorFile, kBatteryFile or kFanFile
    std::size_t line = 0;         // from 1; 0 for the file as a whole
    std::size_t firstColumn = 0;  // from 1, a tab counting as one; 0 for the line as a whole
    std::size_t lastColumn = 0;   // at least firstColumn
    Severity severity = Severity::Error;
    std::string message;
};

using Findings = std::vector<Finding>;

const char* SeverityName(Severity severity);  // "error" or "warning"
std::size_t CountFindings(const Findings& findings, Severity severity);

// One finding as a line of text in the form compilers use, its file named by `path`:
// "PATH:LINE:COLUMNS: error|warning: message", LINE and COLUMNS left out where not given.
std::string FindingLine(const Finding& finding, const std::string& path);

// Each file's lines checked on their own, in file order, the limits they state included; `file`
// names them in the findings.
Findings CheckItemLines(const std::vector<std::string>& lines, const char* file, char separator);
Findings CheckFanLines(const std::vector<std::string>& lines, char separator);

// Reads the three files through the platform as the loading does and checks each, file by file
// and line by line; a file that cannot be read is one error. Findings of other checkers join the
// list here.
Findings CheckCatalogues(const CataloguePlatform& platform);

}  // namespace mfb
