// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueEdit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueConvert.h"
#include "catalogue/Choice.h"
#include "catalogue/FanEdit.h"
#include "catalogue/FanFit.h"
#include "catalogue/FileReader.h"
#include "catalogue/TextLines.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

struct Sample {
    const char* file;
    char separator;
    const char* lineEnd;
};

std::string SampleText(const Sample& sample) {
    std::string text = ReadWholeFile(std::string(MFB_SAMPLE_DATA "/") + sample.file);
    if (sample.separator == ',') text = ConvertCatalogueText(text, sample.file, ',').text;
    std::string ended;
    for (const std::string& line : SplitLines(text)) ended += line + sample.lineEnd;
    return ended;
}

TOptionSlot Chosen(const std::string& line, const Sample& sample) {
    TOptionSlot slot;
    if (std::string(sample.file) == kMotorFile) {
        ChooseMotor(slot, line, sample.separator);
    } else {
        ChooseBattery(slot, line, sample.separator);
    }
    return slot;
}

// Every line left alone is written back byte for byte, and a line written field by field from
// nothing reads back to the same numbers, bit for bit, in either notation and line end.
TEST(CatalogueEditTest, WrittenLinesReadBackAsTheyWere) {
    const Sample samples[] = {{kMotorFile, '.', "\n"},
                              {kMotorFile, ',', "\r\n"},
                              {kBatteryFile, '.', "\r\n"},
                              {kBatteryFile, ',', "\n"}};
    for (const Sample& sample : samples) {
        SCOPED_TRACE(std::string(sample.file) + " " + sample.separator);
        const std::string text = SampleText(sample);
        const EditableText read = SplitEditable(text);
        std::vector<EditedLine> same, rebuilt;
        for (std::size_t i = 0; i < read.lines.size(); ++i) {
            const std::string& line = read.lines[i];
            const auto texts = FieldTexts(line, sample.file);
            EXPECT_EQ(ComposeLine(line, texts, sample.file), line);
            same.push_back({i, line});
            const std::string fresh = ComposeLine("", texts, sample.file);
            rebuilt.push_back({std::nullopt, fresh});
            const TOptionSlot a = Chosen(line, sample), b = Chosen(fresh, sample);
            EXPECT_EQ(a.MotorName, b.MotorName);
            EXPECT_EQ(a.BatteryName, b.BatteryName);
            EXPECT_EQ(std::make_tuple(a.Motor.Kv, a.Motor.Ri, a.Motor.Io, a.MotorLimits.MaxCurrent,
                                      a.MotorLimits.MaxPower),
                      std::make_tuple(b.Motor.Kv, b.Motor.Ri, b.Motor.Io, b.MotorLimits.MaxCurrent,
                                      b.MotorLimits.MaxPower));
            EXPECT_EQ(std::make_tuple(a.Battery.Capacity, a.Battery.RCell, a.Battery.UCell,
                                      a.Battery.CellWeight, a.CellLimits.MaxRate),
                      std::make_tuple(b.Battery.Capacity, b.Battery.RCell, b.Battery.UCell,
                                      b.Battery.CellWeight, b.CellLimits.MaxRate));
            EXPECT_TRUE(CheckFields("", texts, sample.file, sample.separator).empty());
        }
        EXPECT_EQ(WriteEdited(read, same), text);
        EXPECT_EQ(SplitLines(WriteEdited(read, rebuilt)).size(), read.lines.size());
    }
}

// An edited line, a deleted one and an added one change only themselves.
TEST(CatalogueEditTest, OnlyTheEditedLinesChange) {
    const std::string text = "alpha\r\nbeta\r\ngamma\r\ndelta";
    const EditableText read = SplitEditable(text);
    EXPECT_EQ(WriteEdited(read, {{0, "alpha"}, {2, "GAMMA"}, {3, "delta"}, {std::nullopt, "new"}}),
              "alpha\r\nGAMMA\r\ndelta\r\nnew\r\n");
    EXPECT_EQ(WriteEdited(read, {{3, "delta"}, {0, "alpha"}}), "delta\r\nalpha\r\n");

    const std::string line = "Inrunner 2230-4500  22x30 mm   48 g  2-3S   4500  0.078    1.2";
    auto texts = FieldTexts(line, kMotorFile);
    texts[2] = "4600";
    texts[5] = "25";
    EXPECT_EQ(ComposeLine(line, texts, kMotorFile),
              "Inrunner 2230-4500  22x30 mm   48 g  2-3S   "
              "4600  0.078    1.2    25");
}

// Each field is checked by the rule check applies to the whole line, the finding given to the
// field it points into.
TEST(CatalogueEditTest, FindingsStandAtTheirFields) {
    const std::vector<std::string> good = {"Test motor", "", "3000", "0.03", "1.5", "", ""};
    struct Row {
        std::size_t field;
        std::string text;
        std::string message;  // the first finding of that field; empty: none
    };
    const Row rows[] = {
        {2, "3000", ""},
        {2, "0", "kv is 0: the model needs a value above 0"},
        {2, "3x00", "kv: '3x00' is not a valid floating point value"},
        {2, "30000", "kv [rpm/V] has 4 columns, 48 the last; \"30000\" needs 5"},
        {3, "0", ""},
        {5, "-5", "a limit must be above 0; the limit is ignored"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        auto texts = good;
        texts[row.field] = row.text;
        const auto found = CheckFields("", texts, kMotorFile, '.');
        std::string message;
        for (const FieldFinding& f : found) {
            if (f.field == row.field && message.empty()) message = f.message;
        }
        EXPECT_EQ(message, row.message);
    }
}

std::vector<EditedLine> AsRead(const EditableText& read) {
    std::vector<EditedLine> lines;
    for (std::size_t i = 0; i < read.lines.size(); ++i) lines.push_back({i, read.lines[i]});
    return lines;
}

// A fan's field put into the sample fan file reads back as put from the bytes written, every other
// field of every fan as it was, and every line but the field's own byte for byte as it was read.
TEST(CatalogueEditTest, AFanFieldChangesOnlyItsLine) {
    const EditableText read = SplitEditable(SampleText({kFanFile, '.', "\r\n"}));
    constexpr std::size_t kMaxRpm = kFanFormFields, kArea = kFanFormFields + 1,
                          kEfficiency = kFanFormFields + 2;
    struct Row {
        int fan;
        std::size_t field;
        std::string text;
        std::string reads;     // the field's text read back
        std::ptrdiff_t lines;  // lines the file gains
    };
    const Row rows[] = {
        {2, kFanNameField, "Fan Two b", "Fan Two b", 0},
        {2, 3, " -12.5 ", "-12.5", 0},
        {3, kMaxRpm, "45000", "45000", 0},
        {6, 1, "900.5", "900.5", 0},
        {6, 2, "", "", 0},  // a number the fan needs stays as a line, blank
        {6, kFanReservedField, "", "", -1},
        {4, kArea, " ", "", -1},
        {6, kEfficiency, "", "", -1},
    };
    const std::vector<int> fans = EditableFans(read.lines);
    ASSERT_EQ(fans, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.fan) + " " + std::to_string(row.field));
        std::vector<EditedLine> lines = AsRead(read);
        EXPECT_TRUE(SetFanField(lines, row.fan, row.field, row.text));
        const std::vector<std::string> written = SplitEditable(WriteEdited(read, lines)).lines;
        EXPECT_EQ(written, LineTexts(lines));
        EXPECT_EQ(written.size(), read.lines.size() + static_cast<std::size_t>(row.lines));
        std::size_t changed = 0;
        for (const EditedLine& line : lines) changed += line.text != read.lines[*line.original];
        EXPECT_EQ(changed, row.lines == 0 ? 1u : 0u);
        for (const int fan : fans) {
            FanTexts expected = FanFieldTexts(read.lines, fan);
            if (fan == row.fan) expected[row.field] = row.reads;
            EXPECT_EQ(FanFieldTexts(written, fan), expected) << "fan " << fan;
        }
    }
}

// A fan added to the library from its values reads back to the same numbers, bit for bit, and
// taking it away again gives the file back byte for byte.
TEST(CatalogueEditTest, ALibraryFanAddedReadsBackAndGoesAgain) {
    const Catalogue sample = test::SampleCatalogue();
    for (const char separator : {'.', ','}) {
        const std::string text = SampleText({kFanFile, separator, "\r\n"});
        const EditableText read = SplitEditable(text);
        LibraryFan fan = sample.FanLibrary.at(0);
        fan.fan.Name = "Fan 80 mm b";
        fan.fan.a3 = 1.0 / 3.0;
        std::vector<EditedLine> lines = AsRead(read);
        EXPECT_EQ(AddLibraryFan(lines, FanTextsOf(fan, separator)), 7);
        const auto library = ReadFanLibrary(LineTexts(lines), separator);
        ASSERT_EQ(library.size(), 2u);
        const LibraryFan& added = library[1];
        EXPECT_EQ(added.fan.Name, fan.fan.Name);
        EXPECT_EQ(
            std::make_tuple(added.fan.a0, added.fan.a1, added.fan.a2, added.fan.a4,
                            added.fan.ChartMinPower, added.maxRpm, added.jet.SweptArea,
                            added.jet.StaticEfficiency),
            std::make_tuple(fan.fan.a0, fan.fan.a1, fan.fan.a2, fan.fan.a4, fan.fan.ChartMinPower,
                            fan.maxRpm, fan.jet.SweptArea, fan.jet.StaticEfficiency));
        EXPECT_EQ(added.fan.a3, std::stod(FanFileNumber(1.0 / 3.0)));
        EXPECT_TRUE(DeleteLibraryFan(lines, 7));
        EXPECT_EQ(WriteEdited(read, lines), text);
    }
    std::vector<EditedLine> lines = AsRead(SplitEditable(SampleText({kFanFile, '.', "\n"})));
    EXPECT_FALSE(DeleteLibraryFan(lines, 3));
    EXPECT_TRUE(DeleteLibraryFan(lines, 6));
    EXPECT_EQ(EditableFans(LineTexts(lines)), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(AddLibraryFan(lines, FanTexts{}), 6);
    EXPECT_EQ(FanFieldTexts(LineTexts(lines), 6), FanTexts{});
}

// Check's findings on the fan file stand at the field of their line, those of a curve at the fan's
// name; a library fan that would be left out on reading cannot be saved.
TEST(CatalogueEditTest, FanFindingsStandAtTheirFields) {
    const EditableText read = SplitEditable(ReadWholeFile(MFB_SAMPLE_DATA "/fan.txt"));
    struct Row {
        int fan;
        std::size_t field;
        std::string text;
        std::size_t at;  // the field of the first finding
        Severity severity;
        std::string message;  // its start
    };
    const Row rows[] = {
        {2, 1, "x", 1, Severity::Error, "fan 2's a0: 'x' is not a valid"},
        {2, 6, "0", 6, Severity::Warning, "fan 2's chart minimum power is 0"},
        {6, 1, "x", 1, Severity::Error, "' x' is not a valid"},
        {6, kFanReservedField, "x", kFanReservedField, Severity::Warning, "' x' is not a valid"},
        {6, kFanNameField, "", kFanNameField, Severity::Error, "library fan 6 has no name"},
        {6, 6, "0", 6, Severity::Warning, "fan 6's chart minimum power is 0"},
        {6, 2, "-5000", kFanNameField, Severity::Warning,
         "the curve of 'Fan 80 mm' gives a negative rpm"},
        {3, kFanFormFields, "-5", kFanFormFields, Severity::Warning, "a limit must be above 0"},
    };
    EXPECT_TRUE(CheckFanFields(read.lines, '.').empty());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        std::vector<EditedLine> lines = AsRead(read);
        SetFanField(lines, row.fan, row.field, row.text);
        const auto found = CheckFanFields(LineTexts(lines), '.');
        ASSERT_EQ(found.size(), 1u);
        ASSERT_EQ(found.count(row.fan), 1u);
        const FieldFinding& first = found.at(row.fan).front();
        EXPECT_EQ(first.field, row.at);
        EXPECT_EQ(first.severity, row.severity);
        EXPECT_EQ(first.message.substr(0, row.message.size()), row.message);
    }
}

}  // namespace
}  // namespace mfb
