// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueEdit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueConvert.h"
#include "catalogue/Choice.h"
#include "catalogue/FileReader.h"
#include "catalogue/TextLines.h"

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

}  // namespace
}  // namespace mfb
