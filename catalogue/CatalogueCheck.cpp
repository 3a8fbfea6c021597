// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueCheck.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <span>

#include "catalogue/Choice.h"
#include "catalogue/FieldValue.h"
#include "catalogue/Limits.h"
#include "catalogue/LineLayout.h"
#include "catalogue/NumberRule.h"
#include "catalogue/TextLines.h"
#include "model/Error.h"
#include "model/PowerTrain.h"
#include "model/Sweep.h"

namespace mfb {

namespace {

bool IsNumberCharacter(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == '+' || c == '-' || c == 'e' ||
           c == 'E';
}

class Checker {
public:
    Checker(const char* file, char separator, Findings& findings)
        : file_(file), separator_(separator), findings_(findings) {}

    void Add(std::size_t line, std::size_t first, std::size_t last, Severity severity,
             std::string message) {
        findings_.push_back({file_, line, first, last, severity, std::move(message)});
    }

    // The number in `text` (the field as cut), or nothing after an error naming `what`.
    std::optional<double> Number(std::size_t line, std::size_t first, std::string_view text,
                                 const std::string& what) {
        try {
            return ParseNumber(text, separator_);
        } catch (const Error& e) {
            Add(line, first, first + std::max<std::size_t>(text.size(), 1) - 1, Severity::Error,
                what + ": " + e.what());
            return std::nullopt;
        }
    }

    void Positive(std::size_t line, std::size_t first, std::string_view text, double value,
                  const std::string& what) {
        if (value > 0) return;
        Add(line, first, first + text.size() - 1, Severity::Warning,
            what + " is " + Excerpt(Trimmed(text)) + ": the model needs a positive value");
    }

    // Two entries that a list or a column label shows alike.
    void Name(std::size_t line, std::string_view name, const std::string& what) {
        if (name.empty()) return;
        const auto [it, added] = names_.emplace(name, line);
        if (added) return;
        Add(line, 1, name.size(), Severity::Warning,
            what + " '" + Excerpt(name) + "' is also on line " + std::to_string(it->second) +
                ": the two cannot be told apart");
    }

private:
    const char* file_;
    char separator_;
    Findings& findings_;
    std::map<std::string, std::size_t> names_;
};

// Columns from..to (from 1) of a line that hold anything but blanks.
bool HasText(std::string_view line, std::size_t from, std::size_t to) {
    for (std::size_t c = from; c <= to && c <= line.size(); ++c) {
        if (line[c - 1] != ' ') return true;
    }
    return false;
}

// Where a number that reaches column `start` begins: before it when it starts earlier.
std::size_t RunStart(std::string_view line, std::size_t start) {
    if (start > line.size() || line[start - 1] == ' ') return start;
    while (start > 1 && IsNumberCharacter(line[start - 2])) --start;
    return start;
}

void CheckItemLine(Checker& check, std::size_t n, std::string_view line,
                   std::span<const NumberField> fields) {
    if (const auto tab = line.find('\t'); tab != std::string_view::npos) {
        check.Add(n, tab + 1, tab + 1, Severity::Warning,
                  "a tab counts as one column and shifts every field after it");
    }
    const std::string_view name = Field(line, kNameColumns.start, kNameColumns.width);
    check.Name(n, name.substr(0, name.find_last_not_of(' ') + 1), "the name");
    // A word that runs on past the name's columns is cut there, in the list and in the column. A
    // tab before it has its own finding: it shifts the line, the name with it.
    const std::size_t nameEnd = kNameColumns.last();
    if (line.size() > nameEnd && line[nameEnd - 1] != ' ' && line[nameEnd] != ' ' &&
        line.substr(0, nameEnd + 1).find('\t') == std::string_view::npos) {
        const std::size_t end = std::min(line.find(' ', nameEnd), line.size());
        check.Add(n, 1, end, Severity::Warning,
                  "the name '" + Excerpt(line.substr(0, end)) + "' is longer than its " +
                      std::to_string(kNameColumns.width) + " columns and is read as '" +
                      Excerpt(name) + "'");
    }

    // Columns a run-over number already accounts for, so its gap is not reported twice.
    std::size_t coveredTo = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const NumberField& f = fields[i];
        const Columns c = f.columns;
        if (line.size() < c.start) {
            check.Add(
                n, c.start, c.last(), Severity::Error,
                std::string(f.name) + " is missing: " +
                    (line.empty() ? std::string("the line is empty")
                                  : "the line ends at column " + std::to_string(line.size())));
            return;
        }
        const std::string_view text = Field(line, c.start, c.width);
        const auto value = check.Number(n, c.start, text, f.name);
        if (value && !PossibleValue(f, *value)) {
            check.Add(n, c.start, c.start + text.size() - 1, Severity::Error,
                      ImpossibleValueMessage(f, text));
        }

        // A number that goes on past its window is read cut short, silently.
        std::size_t to = c.last();
        if (text.back() != ' ') {
            while (to < line.size() && IsNumberCharacter(line[to])) ++to;
        }
        const std::size_t from = RunStart(line, c.start);
        if (value && (from < c.start || to > c.last())) {
            // A line may end inside the field's columns.
            std::size_t quoted = std::min(to, line.size());
            while (quoted > from && line[quoted - 1] == ' ') --quoted;
            check.Add(
                n, from, quoted, Severity::Warning,
                std::string(f.name) + " '" + Excerpt(line.substr(from - 1, quoted - from + 1)) +
                    "' runs past its columns " + std::to_string(c.start) + "-" +
                    std::to_string(c.last()) + " and is read as '" + Excerpt(Trimmed(text)) + "'");
        }
        coveredTo = std::max(coveredTo, to);

        // The gap up to the next field is never read.
        const std::size_t gapFrom = std::max(c.last() + 1, coveredTo + 1);
        // A number running back into the gap is the next field's finding.
        const std::size_t gapTo =
            i + 1 < fields.size() ? RunStart(line, fields[i + 1].columns.start) - 1 : 0;
        if (gapTo >= gapFrom && HasText(line, gapFrom, gapTo)) {
            std::size_t first = gapFrom, last = std::min(gapTo, line.size());
            while (line[first - 1] == ' ') ++first;
            while (line[last - 1] == ' ') --last;
            check.Add(n, first, last, Severity::Warning,
                      "'" + Excerpt(line.substr(first - 1, last - first + 1)) +
                          "' stands between two fields, where nothing is read");
        }
    }
}

// The fan's rpm against shaft power, from its chart minimum power to a hundred times it: the range
// its chart shows and well beyond. The first stretch where it falls and the first power where it
// turns negative are reported.
void CheckFanCurve(Checker& check, std::size_t n, std::string_view name, const TFanData& curve) {
    const double minPower = curve.ChartMinPower;
    if (!(minPower > 0)) return;
    const auto rpm = [&](long double power) { return FanCurve(curve, std::log(power)); };
    constexpr int kSamples = 1000;
    const long double ratio = std::pow(100.0L, 1.0L / kSamples);
    long double power = minPower;
    long double previous = rpm(power);
    std::optional<long double> negativeAt, fallsFrom, fallsTo;
    if (previous < 0) negativeAt = power;
    for (int i = 1; i <= kSamples; ++i) {
        const long double next = power * ratio;
        const long double r = rpm(next);
        if (!negativeAt && r < 0) negativeAt = next;
        if (r < previous && (!fallsFrom || fallsTo == power)) {
            if (!fallsFrom) fallsFrom = power;
            fallsTo = next;
        }
        previous = r;
        power = next;
    }
    const auto watts = [](long double w) {
        // The chart's minimum power is the catalogue's, and may lie beyond any integer.
        return (w < 1e15L ? std::to_string(std::llround(w))
                          : ShortestText(static_cast<double>(w))) +
               " W";
    };
    const std::string fan = "the curve of '" + Excerpt(name) + "'";
    if (negativeAt) {
        check.Add(n, 0, 0, Severity::Warning,
                  fan + " gives a negative rpm at " + watts(*negativeAt));
    }
    if (fallsFrom) {
        check.Add(n, 0, 0, Severity::Warning,
                  fan + " falls with power from " + watts(*fallsFrom) + " to " + watts(*fallsTo));
    }
}

// A curve that leaves the doubles somewhere between 1 W and the sweep's limit faults in the
// Calculate that reaches that power ("Floating point overflow"), however well it reads. Sampled
// with the model's own curve, finely enough for a polynomial of degree four in ln P.
void CheckFanRange(Checker& check, std::size_t n, std::string_view name, const TFanData& fan) {
    constexpr int kSamples = 4096;
    const long double top = std::log(static_cast<long double>(MaxSweepPower));
    for (int i = 0; i <= kSamples; ++i) {
        const long double l = top * i / kSamples;
        if (std::isfinite(static_cast<double>(FanCurve(fan, l)))) continue;
        check.Add(n, 0, 0, Severity::Error,
                  "the curve of '" + Excerpt(name) + "' is beyond the range of numbers at " +
                      std::to_string(std::llround(std::exp(l))) +
                      " W: a Calculate that reaches it faults (Floating point overflow)");
        return;
    }
}

// Bytes a catalogue's text should not hold, at their line and column: a NUL ends the text where
// it stands, so the rest of the file is never read, and other control characters (the tab has its
// own warning) can act on the terminal that shows a name. One per line.
void AddControlFindings(Findings& findings, std::string_view text, const char* file) {
    std::size_t line = 1, column = 1;
    bool reported = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            ++line;
            column = 1;
            reported = false;
            continue;
        }
        if (c == 0) {
            findings.push_back({file, line, column, column, Severity::Error,
                                "a NUL byte, where the reading stops: the rest of the file is "
                                "not read"});
            return;
        }
        if (((c < 0x20 && c != '\t') || c == 0x7f) && !reported) {
            findings.push_back({file, line, column, column, Severity::Warning,
                                "a control character (" + Printable(std::string(1, text[i])) +
                                    "), which a name should not hold"});
            reported = true;
        }
        ++column;
    }
}

void CheckFile(const CataloguePlatform& platform, const char* file, Findings& findings,
               Findings (*check)(const std::vector<std::string>&, char)) {
    try {
        const auto lines = ReadCatalogueLines(platform, file);
        const Findings found = check(lines, platform.decimalSeparator);
        findings.insert(findings.end(), found.begin(), found.end());
        AddControlFindings(findings, platform.readFile(file), file);
    } catch (const Error& e) {
        findings.push_back({file, 0, 0, 0, Severity::Error, e.what()});
    }
}

// The limits a line may state after its fields, and the fan limits after the fan blocks, never
// stop the loading: a malformed one is a warning.
void AddLimitFindings(Findings& findings, const std::vector<std::string>& lines, const char* file,
                      char separator) {
    for (CatalogueFinding& f : LimitFindings(file, lines, separator)) {
        findings.push_back({std::move(f.file), f.line, f.firstColumn, f.lastColumn,
                            Severity::Warning, std::move(f.message)});
    }
}

}  // namespace

const char* SeverityName(Severity severity) {
    return severity == Severity::Error ? "error" : "warning";
}

std::size_t CountFindings(const Findings& findings, Severity severity) {
    return static_cast<std::size_t>(
        std::count_if(findings.begin(), findings.end(),
                      [severity](const Finding& f) { return f.severity == severity; }));
}

std::string FindingLine(const Finding& f, const std::string& path) {
    std::string line = path;
    if (f.line != 0) {
        line += ':' + std::to_string(f.line);
        if (f.firstColumn != 0) {
            line += ':' + std::to_string(f.firstColumn);
            if (f.lastColumn > f.firstColumn) line += '-' + std::to_string(f.lastColumn);
        }
    }
    // Shown on a terminal and in a window: catalogue text must not act on either.
    return Printable(line + ": " + SeverityName(f.severity) + ": " + f.message);
}

Findings CheckItemLines(const std::vector<std::string>& lines, const char* file, char separator) {
    Findings findings;
    Checker check(file, separator, findings);
    const bool motors = std::strcmp(file, kMotorFile) == 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (motors) {
            CheckItemLine(check, i + 1, lines[i], kMotorFields);
        } else {
            CheckItemLine(check, i + 1, lines[i], kBatteryFields);
        }
    }
    AddLimitFindings(findings, lines, file, separator);
    return findings;
}

Findings CheckFanLines(const std::vector<std::string>& lines, char separator) {
    Findings findings;
    Checker check(kFanFile, separator, findings);
    // A setup and a list of fans may name a fan rather than number it, so every fan, of the blocks
    // or the library, needs a name of its own as SameFanName tells names apart.
    struct NamedFan {
        int number;
        std::size_t line;
        LimitColumns columns;
        std::string_view name;
    };
    std::vector<NamedFan> named;
    for (int k = 1; k <= kFanCount; ++k) {
        const std::size_t nameLine = FanNameLine(k);
        if (nameLine > lines.size()) {
            check.Add(nameLine, 0, 0, Severity::Error,
                      "fan " + std::to_string(k) + "'s name is missing: the file ends at line " +
                          std::to_string(lines.size()) + " (List index out of bounds (" +
                          std::to_string(lines.size()) + "))");
            break;
        }
        const std::string& name = lines[nameLine - 1];
        if (name.empty()) {
            check.Add(nameLine, 0, 0, Severity::Warning,
                      "fan " + std::to_string(k) + "'s name is empty");
        }
        if (!Trimmed(name).empty()) named.push_back({k, nameLine, {1, name.size()}, name});

        double values[7] = {};
        bool whole = true;
        for (std::size_t j = 1; j <= 7; ++j) {
            const std::size_t n = nameLine + j;
            const std::string what = "fan " + std::to_string(k) + "'s " + kFanNumberNames[j - 1];
            if (n > lines.size()) {
                check.Add(n, 0, 0, Severity::Error,
                          what + " is missing: the file ends at line " +
                              std::to_string(lines.size()) + " (List index out of bounds (" +
                              std::to_string(lines.size()) + "))");
                return findings;
            }
            const auto value = check.Number(n, 1, lines[n - 1], what);
            whole = whole && value.has_value();
            if (value) values[j - 1] = *value;
            if (value && j == 6) check.Positive(n, 1, lines[n - 1], *value, what);
        }
        const TFanData fan{{},        values[0], values[1], values[2],
                           values[3], values[4], values[5], values[6]};
        if (whole) CheckFanCurve(check, nameLine, name, fan);
        if (whole) CheckFanRange(check, nameLine, name, fan);
    }
    // A library fan's curve is swept as a block's is, once it stands in for a fan of a button.
    constexpr std::size_t kChartMinimumField = 6;
    const std::vector<LibraryFan> library = ReadFanLibrary(lines, separator);
    for (const LibraryFan& fan : library) {
        std::size_t nameLine = 0, minimumLine = 0;
        LimitColumns minimum{0, 0}, nameColumns{0, 0};
        for (std::size_t i = kFirstFanLimitLine - 1; i < lines.size(); ++i) {
            const auto line = LibraryLineAt(lines[i]);
            if (!line || line->fan != fan.number) continue;
            if (line->field == 0) {
                nameLine = i + 1;
                nameColumns = line->valueColumns;
            }
            if (line->field == kChartMinimumField) {
                minimumLine = i + 1;
                minimum = line->valueColumns;
            }
        }
        check.Positive(minimumLine, minimum.first,
                       std::string_view(lines[minimumLine - 1]).substr(minimum.first - 1),
                       fan.fan.ChartMinPower,
                       "fan " + std::to_string(fan.number) + "'s chart minimum power");
        CheckFanCurve(check, nameLine, fan.fan.Name, fan.fan);
        CheckFanRange(check, nameLine, fan.fan.Name, fan.fan);
        named.push_back({fan.number, nameLine, nameColumns, fan.fan.Name});
    }
    for (auto later = named.begin(); later != named.end(); ++later) {
        const auto first = std::find_if(named.begin(), later, [&](const NamedFan& earlier) {
            return SameFanName(earlier.name, later->name);
        });
        if (first == later) continue;
        check.Add(later->line, later->columns.first, later->columns.last, Severity::Warning,
                  "fan " + std::to_string(later->number) + " '" + Excerpt(Trimmed(later->name)) +
                      "' has the name of fan " + std::to_string(first->number) + " '" +
                      Excerpt(Trimmed(first->name)) +
                      "': a setup or --fans cannot tell the two apart");
    }
    AddLimitFindings(findings, lines, kFanFile, separator);
    return findings;
}

Findings CheckCatalogues(const CataloguePlatform& platform) {
    Findings findings;
    CheckFile(platform, kMotorFile, findings, [](const std::vector<std::string>& lines, char sep) {
        return CheckItemLines(lines, kMotorFile, sep);
    });
    CheckFile(platform, kBatteryFile, findings,
              [](const std::vector<std::string>& lines, char sep) {
                  return CheckItemLines(lines, kBatteryFile, sep);
              });
    CheckFile(platform, kFanFile, findings, CheckFanLines);
    return findings;
}

}  // namespace mfb
