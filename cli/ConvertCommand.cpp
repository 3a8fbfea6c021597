// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConvertCommand.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueConvert.h"
#include "catalogue/FileReader.h"
#include "cli/CheckCommand.h"
#include "cli/CliOptions.h"
#include "cli/Program.h"
#include "model/Error.h"

namespace mfb::cli {

namespace {

namespace fs = std::filesystem;

constexpr char kConvertHelp[] =
    R"(Usage: mfbcalc-cli convert --decimal-separator C --output DIR2 [--catalogues DIR]

Writes motor.txt, battery.txt and fan.txt of DIR into DIR2 with C as the decimal separator of
every number, so that catalogues written with '.' serve a locale that writes "1,5", and back.
Each number field that reads as a number with '.' or with ',' gets C in place of its separator,
one character for one, so every field stays in its columns; names, the text between fields,
the free lines of fan.txt and the line ends are copied byte for byte.

DIR2 is created when it does not exist. A catalogue file already in DIR2 is never overwritten:
if any of the three is there, nothing is written.

Options:
  --decimal-separator C  the separator to write, one character other than a digit, a blank,
                         a sign or "e"
  --output DIR2          where the converted files go
  --catalogues DIR       where the files are read (default: the current directory)
  --help, -h             this text

A number field that reads with neither separator is left as it is, and named in a warning on
standard error in the form of "mfbcalc-cli check".

Exit status:
  0  converted
  1  a file that cannot be read or written, or a catalogue file already in DIR2
  2  a usage error
  4  converted, but with fields left as they were (see the warnings)
)";

struct ConvertOptions {
    std::string catalogueDir = ".";
    std::string outputDir;
    std::optional<char> separator;
    bool help = false;
};

ConvertOptions ParseConvertOptions(const std::vector<std::string>& args) {
    ConvertOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    for (ArgumentReader reader(args); reader.Next();) {
        const std::string& name = reader.Name();
        if (name == "--catalogues") {
            options.catalogueDir = ParseDirectory(name, reader.Value());
        } else if (name == "--output") {
            options.outputDir = ParseDirectory(name, reader.Value());
        } else if (name == "--decimal-separator") {
            options.separator = ParseSeparator(reader.Value());
        } else {
            throw UsageError("unknown argument \"" + reader.Given() + "\"");
        }
    }
    if (!options.separator) throw UsageError("convert needs --decimal-separator");
    // A sign or an exponent letter as the separator would read as part of the number.
    if (std::string_view("+-eE").find(*options.separator) != std::string_view::npos) {
        throw UsageError(std::string("--decimal-separator cannot be \"") + *options.separator +
                         "\" for convert: it is part of how numbers are written");
    }
    if (options.outputDir.empty()) throw UsageError("convert needs --output");
    return options;
}

constexpr std::array<const char*, 3> kFiles = {kMotorFile, kBatteryFile, kFanFile};

}  // namespace

int RunConvert(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ConvertOptions options;
    try {
        options = ParseConvertOptions(args);
    } catch (const UsageError& e) {
        return ReportUsage(err, e.what(), "convert");
    }
    if (options.help) {
        out << kConvertHelp;
        return kExitCalculated;
    }

    std::array<Conversion, kFiles.size()> converted;
    try {
        for (std::size_t i = 0; i < kFiles.size(); ++i) {
            const std::string text =
                ReadWholeFile((fs::path(options.catalogueDir) / kFiles[i]).string());
            converted[i] = ConvertCatalogueText(text, kFiles[i], *options.separator);
        }
    } catch (const Error& e) {
        ReportError(err, e.what());
        return kExitError;
    }

    const fs::path output(options.outputDir);
    std::error_code ec;
    for (const char* file : kFiles) {
        if (fs::exists(fs::symlink_status(output / file, ec))) {
            ReportError(err, "\"" + (output / file).string() +
                                 "\" already exists; convert never overwrites a catalogue");
            return kExitError;
        }
    }
    fs::create_directories(output, ec);
    if (ec) {
        ReportError(err, "cannot create \"" + output.string() + "\": " + ec.message());
        return kExitError;
    }

    Findings leftAlone;
    std::vector<fs::path> written;
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        const fs::path path = output / kFiles[i];
        std::ofstream file(path, std::ios::binary);
        if (file.is_open()) written.push_back(path);
        file << converted[i].text;
        file.close();
        if (!file) {
            // A catalogue cut short would load as if whole, and would block the next attempt;
            // none of these files was there before.
            for (const fs::path& made : written) fs::remove(made, ec);
            ReportError(err, "cannot write \"" + path.string() + "\"");
            return kExitError;
        }
        leftAlone.insert(leftAlone.end(), converted[i].leftAlone.begin(),
                         converted[i].leftAlone.end());
    }
    for (const Finding& f : leftAlone) {
        err << FindingLine(f, CataloguePath(options.catalogueDir, f.file)) << '\n';
    }
    return FindingsStatus(leftAlone);
}

}  // namespace mfb::cli
