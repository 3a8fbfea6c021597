// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CheckCommand.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "catalogue/TextLines.h"
#include "cli/CatalogueDirectory.h"
#include "cli/CliOptions.h"
#include "cli/Program.h"
#include "json/JsonWriter.h"

namespace mfb::cli {

namespace {

constexpr char kCheckHelp[] =
    R"(Usage: mfbcalc-cli check [--catalogues DIR] [--json] [--decimal-separator C]

Reads motor.txt, battery.txt and fan.txt as the program does and reports everything that would
make the loading or a choice fail (errors: a bad number, one written with the other decimal
separator, a value no part can have such as a kv, cell voltage, capacity or cell weight of 0 or
less, or a negative Ri, Io or cell resistance) and everything that loads but is probably a
mistake (warnings): characters between fields, a number that runs past its columns and is read
cut short, a name longer than its 20 columns, a tab (one column, which shifts every later
field), two entries of the same name, a fan curve that falls with power or turns negative
between its chart minimum power and a hundred times it, and lines of fan.txt after line 53,
which are never read.

Each finding is one line on standard output, in the form compilers use, so that editors can jump
to it:
  FILE:LINE:COLUMNS: error|warning: message
COLUMNS is a range such as 45-48, columns counted from 1 with a tab as one column; a finding
about a whole line has no COLUMNS, one about a whole file no LINE either. A summary line of
counts ends the list.

Options:
  --catalogues DIR       the directory holding the three files (default: the current directory)
  --decimal-separator C  the decimal separator the numbers are read with, instead of the
                         locale's (from LC_ALL, LC_NUMERIC or LANG)
  --json                 one JSON object instead: "findings", an array of objects with the keys
                         file, line, first_column, last_column (0 where not given), severity
                         ("error" or "warning") and message; then "errors" and "warnings", the
                         counts
  --help, -h             this text

Exit status:
  0  nothing found
  1  at least one error, or standard output that could not be written whole
  2  a usage error
  4  warnings only
)";

struct CheckOptions {
    std::string catalogueDir = ".";
    bool json = false;
    bool help = false;
    std::optional<char> decimalSeparator;
};

CheckOptions ParseCheckOptions(const std::vector<std::string>& args) {
    CheckOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    for (ArgumentReader reader(args); reader.Next();) {
        const std::string& name = reader.Name();
        if (name == "--json") {
            reader.NoValue();
            options.json = true;
        } else if (name == "--catalogues") {
            options.catalogueDir = ParseDirectory(name, reader.Value());
        } else if (name == "--decimal-separator") {
            options.decimalSeparator = ParseSeparator(reader.Value());
        } else {
            throw UsageError("unknown argument \"" + reader.Given() + "\"");
        }
    }
    return options;
}

void WriteJson(const Findings& findings, const std::string& directory, std::ostream& out) {
    JsonWriter json(out);
    json.BeginObject();
    json.Key("findings");
    json.BeginArray();
    for (const Finding& f : findings) {
        json.BeginObject();
        json.Key("file");
        json.String(CataloguePath(directory, f.file));
        json.Key("line");
        json.Integer(static_cast<long long>(f.line));
        json.Key("first_column");
        json.Integer(static_cast<long long>(f.firstColumn));
        json.Key("last_column");
        json.Integer(static_cast<long long>(f.lastColumn));
        json.Key("severity");
        json.String(SeverityName(f.severity));
        json.Key("message");
        json.String(f.message);
        json.EndObject();
    }
    json.EndArray();
    json.Key("errors");
    json.Integer(static_cast<long long>(CountFindings(findings, Severity::Error)));
    json.Key("warnings");
    json.Integer(static_cast<long long>(CountFindings(findings, Severity::Warning)));
    json.EndObject();
}

}  // namespace

std::string CataloguePath(const std::string& directory, const std::string& file) {
    if (directory == ".") return file;
    return (std::filesystem::path(directory) / file).string();
}

int FindingsStatus(const Findings& findings) {
    if (CountFindings(findings, Severity::Error) > 0) return kExitError;
    return findings.empty() ? kExitCalculated : kExitWarnings;
}

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             char localeSeparator) {
    CheckOptions options;
    try {
        options = ParseCheckOptions(args);
    } catch (const UsageError& e) {
        return ReportUsage(err, e.what(), "check");
    }
    if (options.help) {
        out << kCheckHelp;
        return kExitCalculated;
    }
    const Findings findings = CheckCatalogues(DirectoryPlatform(
        options.catalogueDir, options.decimalSeparator.value_or(localeSeparator)));
    if (options.json) {
        WriteJson(findings, options.catalogueDir, out);
    } else {
        for (const Finding& f : findings) {
            out << FindingLine(f, CataloguePath(options.catalogueDir, f.file)) << '\n';
        }
        out << CountFindings(findings, Severity::Error) << " errors, "
            << CountFindings(findings, Severity::Warning) << " warnings\n";
    }
    return FindingsStatus(findings);
}

}  // namespace mfb::cli
