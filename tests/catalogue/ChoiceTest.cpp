// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/Choice.h"

#include <gtest/gtest.h>

#include <string>

#include "model/Error.h"

namespace mfb {
namespace {

// Columns:          1-20 name           21-44 description       45  kv  51 Ri   59 Io
const std::string kMotor = "Test Inrunner 3000  28mm 4-pole, 160 g      3000  0.025    2.1 spare";
const std::string kBattery = "LiPo 2200 HV        3.8 V high rate cell    2200  0.0045  3.70  45.0";

TEST(ChoiceTest, MotorLineFillsNameAndNumbers) {
    TOptionSlot slot;
    ChooseMotor(slot, kMotor, '.');
    EXPECT_EQ(slot.MotorName, "Test Inrunner 3000  ");
    EXPECT_EQ(slot.Motor.Kv, 3000);
    EXPECT_EQ(slot.Motor.Ri, 0.025);
    EXPECT_EQ(slot.Motor.Io, 2.1);
    EXPECT_EQ(EntryText(kMotor), kMotor.substr(0, 44));
    const auto texts = MotorParameterTexts(kMotor);
    EXPECT_EQ(texts[0], "3000");
    EXPECT_EQ(texts[1], "0.025");
    EXPECT_EQ(texts[2], " 2.1");
}

TEST(ChoiceTest, BatteryLineFillsNameAndNumbers) {
    TOptionSlot slot;
    ChooseBattery(slot, kBattery, '.');
    EXPECT_EQ(slot.BatteryName, "LiPo 2200 HV        ");
    EXPECT_EQ(slot.Battery.Capacity, 2200);
    EXPECT_EQ(slot.Battery.RCell, 0.0045);
    EXPECT_EQ(slot.Battery.UCell, 3.7);
    EXPECT_EQ(slot.Battery.CellWeight, 45);
    const auto texts = BatteryParameterTexts(kBattery);
    EXPECT_EQ(texts[0], "2200");
    EXPECT_EQ(texts[1], "0.0045");
    EXPECT_EQ(texts[2], "3.70 ");
    EXPECT_EQ(texts[3], "45.0");
}

struct BadMotor {
    const char* name;
    std::string line;
    std::string error;
    TMotorData expected;  // previous values survive from the bad field on
};

TEST(ChoiceTest, BadFieldKeepsEarlierNewValuesAndLaterOldOnes) {
    const TMotorData previous{1111, 0.5, 4.4};
    std::string badRi = kMotor;
    badRi[52] = 'x';
    std::string badIo = kMotor;
    badIo[60] = '/';
    std::string zeroKv = kMotor;
    zeroKv.replace(44, 4, "   0");
    std::string negativeIo = kMotor;
    negativeIo.replace(58, 4, "-2.1");
    const BadMotor cases[] = {
        {"bad Ri", badRi, "'0.x25' is not a valid floating point value", {3000, 0.5, 4.4}},
        {"bad Io", badIo, "' 2/1' is not a valid floating point value", {3000, 0.025, 4.4}},
        // A value no motor has is refused once the whole line is read.
        {"kv 0",
         zeroKv,
         "kv is 0 (columns 45-48): the model needs a value above 0",
         {0, 0.025, 2.1}},
        {"Io below 0",
         negativeIo,
         "Io is -2.1 (columns 59-62): the model needs a value of 0 or more",
         {3000, 0.025, -2.1}},
        {"short line fails at kv", "Short motor", "'' is not a valid floating point value",
         previous},
        {"empty line", "", "'' is not a valid floating point value", previous},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOptionSlot slot;
        slot.MotorName = "old";
        slot.Motor = previous;
        try {
            ChooseMotor(slot, c.line, '.');
            ADD_FAILURE() << "no error";
        } catch (const Error& e) {
            EXPECT_EQ(std::string(e.what()), c.error);
        }
        EXPECT_EQ(slot.MotorName, c.line.substr(0, 20));
        EXPECT_EQ(slot.Motor.Kv, c.expected.Kv);
        EXPECT_EQ(slot.Motor.Ri, c.expected.Ri);
        EXPECT_EQ(slot.Motor.Io, c.expected.Io);
    }
}

TEST(ChoiceTest, CommaLocaleReadsCommaFields) {
    std::string line = kBattery;
    line[51] = ',';
    line[59] = ',';
    line[66] = ',';
    TOptionSlot slot;
    ChooseBattery(slot, line, ',');
    EXPECT_EQ(slot.Battery.RCell, 0.0045);
    EXPECT_EQ(slot.Battery.UCell, 3.7);
    EXPECT_EQ(slot.Battery.CellWeight, 45);
    EXPECT_THROW(ChooseBattery(slot, line, '.'), Error);
}

TEST(ChoiceTest, FanChoiceCopiesTheName) {
    FanTable fans;
    for (int k = 1; k <= kFanCount; ++k) fans[k - 1].Name = "Fan " + std::to_string(k) + " ";
    TOptionSlot slot;
    ChooseFan(slot, fans, 3);
    EXPECT_EQ(slot.FanName, "Fan 3 ");
}

}  // namespace
}  // namespace mfb
