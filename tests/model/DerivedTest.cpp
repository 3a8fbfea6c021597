// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Derived.h"

#include <gtest/gtest.h>

namespace mfb {
namespace {

// 2 x 2200 mAh in parallel, 1 kg, at 44 A, 1000 W input, 80 % efficient, 40 000 rpm on "Fan".
TOptionSlot Slot() {
    TOptionSlot slot;
    slot.Battery.Capacity = 2200;
    slot.CellsParallel = 2;
    slot.PackWeight = 1000;
    slot.FanName = "Fan";
    return slot;
}
constexpr ResultPoint kPoint{44, 40000, 1000, 0.8, 20};

TEST(DerivedTest, FiguresOfAnOperatingPoint) {
    const DerivedFigures figures = Derive(Slot(), kPoint);
    EXPECT_DOUBLE_EQ(figures.cRate, 10);   // 44 A from 4.4 Ah
    EXPECT_DOUBLE_EQ(figures.runTime, 6);  // 4.4 Ah at 44 A: a tenth of an hour
    EXPECT_DOUBLE_EQ(figures.powerPerWeight, 800);
    // Nothing to divide by: no figure, and no floating-point flag left behind.
    EXPECT_EQ(Derive(TOptionSlot{}, ResultPoint{}).cRate, 0);
    EXPECT_EQ(Derive(TOptionSlot{}, ResultPoint{}).runTime, 0);
    EXPECT_EQ(Derive(TOptionSlot{}, ResultPoint{}).powerPerWeight, 0);
    EXPECT_FALSE(FaultRaised());
}

TEST(DerivedTest, EachLimitAgainstItsValue) {
    struct Row {
        const char* what;
        TMotorLimits motor;
        TCellLimits cell;
        std::optional<double> fanRpm;
        LimitKind kind;
        double value, margin;
        bool exceeded;
    };
    const Row rows[] = {
        {"current within", {50.0, {}}, {}, {}, LimitKind::MotorCurrent, 44, 12, false},
        {"current over", {40.0, {}}, {}, {}, LimitKind::MotorCurrent, 44, -10, true},
        {"current at the limit", {44.0, {}}, {}, {}, LimitKind::MotorCurrent, 44, 0, false},
        {"input power", {{}, 800.0}, {}, {}, LimitKind::MotorPower, 1000, -25, true},
        {"C-rate", {}, {20.0}, {}, LimitKind::CellRate, 10, 50, false},
        {"fan rpm is the motor rpm", {}, {}, 50000.0, LimitKind::FanRpm, 40000, 20, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TOptionSlot slot = Slot();
        slot.MotorLimits = row.motor;
        slot.CellLimits = row.cell;
        FanTable fans;
        fans[2].Name = "Fan";
        FanRpmLimits fanLimits;
        fanLimits[2] = row.fanRpm;
        const LimitChecks checks = CheckLimits(slot, fans, fanLimits, kPoint, Derive(slot, kPoint));
        for (const LimitRow& limit : kLimitRows) {
            const auto& check = checks[static_cast<std::size_t>(limit.kind)];
            ASSERT_EQ(check.has_value(), limit.kind == row.kind) << limit.key;
            if (!check) continue;
            EXPECT_DOUBLE_EQ(check->value, row.value);
            EXPECT_NEAR(check->margin, row.margin, 1e-12);
            EXPECT_EQ(check->exceeded, row.exceeded);
            EXPECT_EQ(AnyExceeded(checks), row.exceeded);
        }
    }
}

TEST(DerivedTest, NotesGoToTheLabelOfTheirValue) {
    TOptionSlot slot = Slot();
    slot.MotorLimits = {40.0, 2000.0};
    const DerivedFigures figures = Derive(slot, kPoint);
    const auto notes = FieldNotes(figures, CheckLimits(slot, {}, {}, kPoint, figures), ',');
    const auto note = [&](ResultField field) { return notes[static_cast<std::size_t>(field)]; };
    EXPECT_EQ(note(ResultField::Current).text,
              "C-rate: 10,00 C\nFull-throttle run time: 6,00 min\n"
              "Over the motor's maximum continuous current of 40,00 A by 10,00 %");
    EXPECT_TRUE(note(ResultField::Current).exceeded);
    EXPECT_EQ(note(ResultField::PinMotor).text,
              "Within the motor's maximum input power of 2000,00 W by 50,00 %");
    EXPECT_FALSE(note(ResultField::PinMotor).exceeded);
    EXPECT_EQ(note(ResultField::PoutMotor).text, "Shaft power per pack weight: 800,00 W/kg");
    EXPECT_EQ(note(ResultField::Weight).text, "");
    EXPECT_EQ(note(ResultField::Rpm).text, "");  // no fan named "Fan": no fan limit
}

}  // namespace
}  // namespace mfb
