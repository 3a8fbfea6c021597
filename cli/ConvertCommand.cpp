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
#include "cli/Interruption.h"
#include "cli/Program.h"
#include "cli/WholeFile.h"
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

DIR2 is created when it does not exist. A catalogue file already in DIR2 is never overwritten,
nor a link there followed: if any of the three is there, nothing is written. Each file is
written to a temporary file in DIR2 and renamed into place only once all three are complete, so
an interrupted or failed run leaves no catalogue cut short.

Options:
  --decimal-separator C  the separator to write: '.' or ','.
  --output DIR2          where the converted files go
  --catalogues DIR       where the files are read (default: the current directory)
  --help, -h             this text

A number field that reads with neither separator is left as it is, and named in a warning on
standard error in the form of "mfbcalc-cli check". When no number has the other separator,
there is nothing to convert: the files are copied as they are, with a warning.

Exit status:
  0  converted
  1  a file that cannot be read or written, or a catalogue file already in DIR2
  2  a usage error
  4  converted, but with fields left as they were, or nothing to convert (see the warnings)
  130, 143  stopped by SIGINT or SIGTERM; nothing was written
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
    // Converted files are read by a program that knows only these two; anything else would be
    // a catalogue no locale reads, or one whose lines a newline splits.
    if (*options.separator != '.' && *options.separator != ',') {
        throw UsageError("--decimal-separator for convert must be '.' or ','");
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

    // A signal ends the run between steps, with nothing written, instead of between two files.
    Interruption interruption;
    const auto interrupted = [&] {
        if (interruption.Signal() == 0) return false;
        ReportError(err, "interrupted: nothing was written");
        return true;
    };
    std::array<Conversion, kFiles.size()> converted;
    try {
        for (std::size_t i = 0; i < kFiles.size(); ++i) {
            const std::string text =
                ReadWholeFile((fs::path(options.catalogueDir) / kFiles[i]).string());
            converted[i] = ConvertCatalogueText(text, kFiles[i], *options.separator);
            if (interrupted()) return interruption.ExitStatus();
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

    // Each file whole, placed without replacing anything that appeared since the look above; a
    // failure takes back the files this run placed, as none of them was there before.
    std::vector<fs::path> written;
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        const fs::path path = output / kFiles[i];
        try {
            const bool whole =
                WriteWholeFile(path.string(), Existing::Refuse, [&](std::ostream& o) {
                    o << converted[i].text;
                    return interruption.Signal() == 0;
                });
            if (whole) written.push_back(path);
        } catch (const Error& e) {
            for (const fs::path& made : written) fs::remove(made, ec);
            ReportError(err, e.what());
            return kExitError;
        }
        if (interrupted()) {
            for (const fs::path& made : written) fs::remove(made, ec);
            return interruption.ExitStatus();
        }
    }

    Findings leftAlone;
    std::size_t changed = 0;
    for (const Conversion& c : converted) {
        leftAlone.insert(leftAlone.end(), c.leftAlone.begin(), c.leftAlone.end());
        changed += c.changed;
    }
    for (const Finding& f : leftAlone) {
        err << FindingLine(f, CataloguePath(options.catalogueDir, f.file)) << '\n';
    }
    if (changed == 0) {
        ReportError(err, std::string("warning: nothing to convert: no number in \"") +
                             options.catalogueDir + "\" is written with '" +
                             (*options.separator == '.' ? ',' : '.') + "'");
        return kExitWarnings;
    }
    return FindingsStatus(leftAlone);
}

}  // namespace mfb::cli
