// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/FitFanCommand.h"

#include <algorithm>
#include <filesystem>
#include <iomanip>
#include <optional>
#include <ostream>
#include <sstream>

#include "catalogue/Catalogue.h"
#include "catalogue/FanEdit.h"
#include "catalogue/FanFit.h"
#include "catalogue/FanLibrary.h"
#include "catalogue/FanPointsCsv.h"
#include "catalogue/FileReader.h"
#include "catalogue/LineLayout.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "cli/ArgumentReader.h"
#include "cli/Program.h"
#include "cli/WholeFile.h"
#include "model/Error.h"

namespace mfb::cli {

namespace {

constexpr char kFitFanHelp[] =
    R"(Usage: mfbcalc-cli fit-fan POINTS.csv --name NAME [--diameter MM --hub MM]
                            [--max-rpm RPM] [--motor-efficiency E] [--into DIR]

Fits a fan's curve, rpm = a0 + a1 L + a2 L^2 + a3 L^3 + a4 L^4 with L = ln P, to the points of a
static test or a datasheet, by least squares in the relative speed error and pulled lightly
towards the fan law below the lowest point, so that the first steps of a sweep never see the
curve climb. It prints the fan's block as fan.txt holds it (the name, a0 to a4, the chart's lower
power and the reserved value, one per line), then the fan's data lines, and on standard error
each point's residual. A curve that does not rise over the points' range of power, or climbs
again below it, is refused with the reason.

POINTS.csv: a first line naming the columns, then one point per line, '.' as the decimal point:
  shaft_power_w,rpm          the shaft power the fan absorbs (W) and its speed
  input_power_w,rpm          the motor's input power instead, with --motor-efficiency
  thrust_g                   optional: the static thrust (g); a point may leave it empty
At least four points of different power. Columns may come in any order.

Options:
  --name NAME            the fan's name, at most 20 characters, no blanks around it
  --diameter MM, --hub MM
                         the rotor's and the hub's diameter: the swept area, and with thrust
                         points the static efficiency by momentum theory, are stated too
  --max-rpm RPM          the highest speed the fan is built for, stated as its limit
  --motor-efficiency E   the share of the input power that reaches the shaft, above 0 and at
                         most 1
  --into DIR             adds the fan to the library of DIR/fan.txt, as the next fan after its
                         highest number, in the file's own line ends and decimal separator,
                         instead of printing it; the file is replaced whole or not at all
  --help, -h             this text

Printed without --into, the data lines name fan 6, the first fan of a library.

Exit status:
  0  fitted
  1  refused, or a file that cannot be read or written
  2  a usage error, also a POINTS.csv that does not read
)";

struct FitFanOptions {
    std::string points;
    std::string name;
    std::optional<double> diameter, hub, motorEfficiency, maxRpm;
    std::optional<std::string> into;
    bool help = false;
};

double ParsePositive(const std::string& option, const std::string& text) {
    try {
        const double value = ParseNumber(text, '.');
        if (value > 0) return value;
    } catch (const Error&) {
    }
    throw UsageError(option + " needs a number above 0, not \"" + text + "\"");
}

// The rules of a name of a fan block: the whole line, so no blanks around it that a reader could
// not see, and nothing a line end or a terminal would act on.
void CheckName(const std::string& name) {
    constexpr std::size_t kMostNameLength = 20;
    if (name.empty() || name.size() > kMostNameLength || name.front() == ' ' ||
        name.back() == ' ') {
        throw UsageError("--name needs a name of 1 to 20 characters without blanks around it");
    }
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 32 || c == 127; })) {
        throw UsageError("--name may not hold control characters");
    }
}

FitFanOptions ParseFitFanOptions(const std::vector<std::string>& args) {
    FitFanOptions options;
    if (AsksForHelp(args)) {
        options.help = true;
        return options;
    }
    if (args.empty() || args.front().rfind("--", 0) == 0) {
        throw UsageError("fit-fan needs the points' CSV file first");
    }
    options.points = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (ArgumentReader reader(rest); reader.Next();) {
        const std::string& name = reader.Name();
        if (name == "--name") {
            options.name = reader.Value();
        } else if (name == "--diameter") {
            options.diameter = ParsePositive(name, reader.Value());
        } else if (name == "--hub") {
            const std::string text = reader.Value();
            options.hub = text.find_first_not_of("0. ") == std::string::npos
                              ? 0.0
                              : ParsePositive(name, text);
        } else if (name == "--motor-efficiency") {
            options.motorEfficiency = ParsePositive(name, reader.Value());
            if (*options.motorEfficiency > 1) {
                throw UsageError("--motor-efficiency is at most 1");
            }
        } else if (name == "--max-rpm") {
            options.maxRpm = ParsePositive(name, reader.Value());
        } else if (name == "--into") {
            options.into = ParseDirectory(name, reader.Value());
        } else {
            throw UsageError("unknown argument \"" + reader.Given() + "\"");
        }
    }
    CheckName(options.name);
    if (options.diameter.has_value() != options.hub.has_value()) {
        throw UsageError("--diameter and --hub go together");
    }
    if (options.diameter && !SweptArea(*options.diameter, *options.hub)) {
        throw UsageError("--hub must be smaller than --diameter");
    }
    return options;
}

// The points of the CSV text; throws UsageError naming the line that does not read.
std::vector<FanPoint> ReadPoints(const std::string& text, const FitFanOptions& options) {
    FanPointsCsv csv;
    try {
        csv = ReadFanPointsCsv(text, options.points);
    } catch (const Error& e) {
        throw UsageError(e.what());
    }
    if (csv.inputPower != options.motorEfficiency.has_value()) {
        throw UsageError(csv.inputPower ? "input_power_w needs --motor-efficiency"
                                        : "--motor-efficiency goes with an input_power_w column");
    }
    if (csv.inputPower) {
        for (FanPoint& point : csv.points) point.shaftPower *= *options.motorEfficiency;
    }
    return csv.points;
}

// The fan file's own notation, so that the lines added read as its blocks do.
struct Notation {
    std::string lineEnd = "\n";
    char separator = '.';
};

Notation NotationOf(const std::string& text, const std::vector<std::string>& lines) {
    Notation notation;
    const std::vector<LineSpan> spans = LineSpans(text);
    if (!spans.empty()) {
        const std::size_t end = spans.front().start + spans.front().length;
        if (text.compare(end, 2, "\r\n") == 0) {
            notation.lineEnd = "\r\n";
        } else if (text.compare(end, 1, "\r") == 0) {
            notation.lineEnd = "\r";
        }
    }
    // Fan 1's a0 reads with the file's separator; a file whose blocks do not read keeps '.'.
    const std::size_t a0 = FanNameLine(1);
    if (lines.size() >= a0 + 1 && lines[a0].find(',') != std::string::npos) {
        try {
            ParseNumber(lines[a0], ',');
            notation.separator = ',';
        } catch (const Error&) {
        }
    }
    return notation;
}

// The fan file of `dir` with `fan` added as the library's next fan; throws Error.
std::string WithFanAdded(const std::string& text, LibraryFan& fan) {
    const std::vector<std::string> lines = SplitLines(text);
    if (lines.size() < kFanFileMinLines) {
        throw Error("the fan file has " + std::to_string(lines.size()) +
                    " lines, fewer than its five fans need");
    }
    const Notation notation = NotationOf(text, lines);
    if (const std::string taken = FanNameTaken(lines, fan.fan.Name, notation.separator);
        !taken.empty()) {
        throw Error(taken);
    }
    const std::vector<int> numbers = LibraryFanNumbers(lines);
    fan.number = numbers.empty() ? kFanCount + 1 : numbers.back() + 1;
    if (fan.number > kMostFanNumber) throw Error("the fan library is full");
    std::string result = text;
    if (!result.empty() && result.back() != '\n' && result.back() != '\r') {
        result += notation.lineEnd;
    }
    for (const std::string& line : FanLibraryLines(fan, notation.separator)) {
        result += line + notation.lineEnd;
    }
    return result;
}

void PrintResiduals(std::ostream& err, const std::vector<FanPoint>& points, const FanFit& fit) {
    err << "   shaft W        rpm  residual %\n";
    for (std::size_t i = 0; i < fit.residuals.size(); ++i) {
        std::ostringstream row;
        row.imbue(std::locale::classic());
        row << std::fixed << std::setprecision(2) << std::setw(10) << points[i].shaftPower << ' '
            << std::setw(10) << points[i].rpm << ' ' << std::setprecision(3) << std::setw(11)
            << fit.residuals[i] * 100;
        err << row.str() << '\n';
    }
}

}  // namespace

int RunFitFan(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    FitFanOptions options;
    std::vector<FanPoint> points;
    try {
        options = ParseFitFanOptions(args);
        if (options.help) {
            out << kFitFanHelp;
            return kExitCalculated;
        }
        std::string text;
        try {
            text = ReadWholeFile(options.points);
        } catch (const Error& e) {
            ReportError(err, e.what());
            return kExitError;
        }
        points = ReadPoints(text, options);
    } catch (const UsageError& e) {
        return ReportUsage(err, e.what(), "fit-fan");
    }

    std::optional<FanDimensions> dimensions;
    if (options.diameter) dimensions = FanDimensions{*options.diameter, *options.hub};
    FittedFan fitted = FitLibraryFan(points, options.name, dimensions, options.maxRpm);
    const FanFit& fit = fitted.fit;
    if (!fit.residuals.empty()) PrintResiduals(err, points, fit);
    if (!fitted.refusal.empty()) {
        ReportError(err, fitted.refusal);
        return kExitError;
    }
    LibraryFan& fan = fitted.fan;
    if (!options.diameter && std::any_of(points.begin(), points.end(),
                                         [](const FanPoint& p) { return p.thrust.has_value(); })) {
        ReportError(err, "warning: the thrusts are left unused without --diameter and --hub");
    }

    if (!options.into) {
        out << options.name << '\n';
        for (const double a : fit.a) out << FanFileNumber(a) << '\n';
        out << FanFileNumber(fit.chartMinPower) << "\n0\n";
        const auto lines = FanLibraryLines(fan, '.');
        for (std::size_t i = 1 + std::size(kFanNumberNames); i < lines.size(); ++i)
            out << lines[i] << '\n';
        return kExitCalculated;
    }

    const std::string path = (std::filesystem::path(*options.into) / kFanFile).string();
    try {
        const std::string before = ReadWholeFile(path);
        std::string after;
        try {
            after = WithFanAdded(before, fan);
        } catch (const Error& e) {
            throw Error(path + ": " + e.what());
        }
        WriteWholeFile(path, Existing::Replace, [&](std::ostream& o) {
            o << after;
            return true;
        });
    } catch (const Error& e) {
        ReportError(err, e.what());
        return kExitError;
    }
    for (const std::string& line : FanLibraryLines(fan, '.')) out << line << '\n';
    return kExitCalculated;
}

}  // namespace mfb::cli
