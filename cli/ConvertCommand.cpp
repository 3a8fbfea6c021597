// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ConvertCommand.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
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
nor a link there followed: if any of the three is there, nothing is written, unless it holds
exactly what this run writes (an earlier run was killed while placing them), and then the set is
completed. Each file is written to an unnamed temporary file in DIR2 and placed only once all
three are complete; a failure takes back those placed, so an interrupted or failed run leaves no
catalogue cut short and no temporary file.

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

bool SameBytes(const std::string& path, const std::string& text) {
    try {
        return ReadWholeFile(path) == text;
    } catch (const Error&) {
        return false;
    }
}

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
    // A file already there that holds exactly what this run would write is one an earlier run
    // placed before it was killed: it is kept, and the set completed, instead of refusing.
    // All three there is a finished conversion, refused as any catalogue in the way is.
    std::array<bool, kFiles.size()> present{};
    std::error_code ec;
    std::size_t there = 0;
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        there += fs::exists(fs::symlink_status(output / kFiles[i], ec));
    }
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        const fs::path path = output / kFiles[i];
        if (!fs::exists(fs::symlink_status(path, ec))) continue;
        present[i] = there < kFiles.size() && fs::is_regular_file(fs::symlink_status(path, ec)) &&
                     SameBytes(path.string(), converted[i].text);
        if (!present[i]) {
            ReportError(err, "\"" + path.string() +
                                 "\" already exists; convert never overwrites a catalogue");
            return kExitError;
        }
    }
    fs::create_directories(output, ec);
    if (ec) {
        ReportError(err, "cannot create \"" + output.string() + "\": " + ec.message());
        return kExitError;
    }

    // Every file complete and on the disk before the first is placed; placing is all or none,
    // without replacing anything that appeared since the look above.
    try {
        std::vector<std::unique_ptr<WholeFile>> files;
        std::vector<WholeFile*> placing;
        for (std::size_t i = 0; i < kFiles.size(); ++i) {
            if (present[i]) continue;
            files.push_back(
                std::make_unique<WholeFile>((output / kFiles[i]).string(), Existing::Refuse));
            files.back()->Stream() << converted[i].text;
            placing.push_back(files.back().get());
        }
        if (interrupted()) return interruption.ExitStatus();
        PlaceAll(placing);
    } catch (const Error& e) {
        ReportError(err, e.what());
        return kExitError;
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
