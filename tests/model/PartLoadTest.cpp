// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PartLoad.h"

#include <gtest/gtest.h>

#include "catalogue/Choice.h"
#include "model/DiscardingSinks.h"
#include "model/PowerTrain.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

// Each row is the part-throttle operating point that a single evaluation at its rpm gives, and the
// last is the operating point the sweep found.
TEST(PartLoadTest, EachRowIsTheSingleEvaluationAtItsRpm) {
    const Catalogue catalogue = test::SampleCatalogue();
    const struct {
        const char* what;
        const char* motor;
        const char* battery;
        int fan, serie, parallel;
        double step;
        std::size_t rows;
    } cases[] = {
        {"a 70 mm fan in 10 % steps", "Inrunner 3660-2700", "LiPo 4000 35C", 3, 6, 1, 0.1, 10},
        {"a 50 mm fan in 30 % steps", "Inrunner 2230-4500", "LiPo 1000 20C", 1, 3, 2, 0.3, 4},
    };
    int onCurve = 0, byFanLaw = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TOptionSlot slot;
        const auto line = [](const std::vector<std::string>& lines, std::string_view start) {
            for (const std::string& l : lines) {
                if (l.rfind(start, 0) == 0) return l;
            }
            return std::string();
        };
        ChooseMotor(slot, line(catalogue.MotorLines, c.motor), '.');
        ChooseBattery(slot, line(catalogue.BatteryLines, c.battery), '.');
        ChooseFan(slot, catalogue.Fans, c.fan);
        DiscardingSinks sinks;
        CalculateReport report;
        Calculate(
            slot,
            {catalogue.Fans, kWireResistance, WholeFans(kFanCount), 1, c.serie, c.parallel, '.'},
            sinks, sinks, report);
        ASSERT_EQ(report.outcome, Outcome::Calculated);
        const ResultPoint& point = report.result;

        const auto rows = PartLoadTable(slot, catalogue.Fans, catalogue.FanJet, point, c.step);
        ASSERT_EQ(rows.size(), c.rows);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const PartLoadRow& row = rows[i];
            SCOPED_TRACE(row.throttle);
            EXPECT_DOUBLE_EQ(row.throttle, i + 1 < rows.size() ? (i + 1) * c.step : 1.0);
            FlightSettings settings;
            settings.throttle = row.throttle;
            const FlightFigures single =
                Fly(slot, catalogue.Fans, catalogue.FanJet, settings, point);
            ASSERT_TRUE(row.part && single.part && row.jet && single.partJet);
            EXPECT_EQ(row.part->fanRpm, single.part->fanRpm);
            EXPECT_EQ(row.part->shaftPower, single.part->shaftPower);
            EXPECT_EQ(row.part->packCurrent, single.part->packCurrent);
            EXPECT_EQ(row.jet->thrust, single.partJet->thrust);
            EXPECT_DOUBLE_EQ(*row.efficiency, row.part->shaftPower / row.part->motorPower);
            ++(row.part->fanLaw ? byFanLaw : onCurve);
        }
        // Full throttle is the operating point: the fan's rpm there, and the power and current
        // of the motor turning at it, where the sweep's kept step has the motor a little faster
        // than the fan, less than a 0.1 W step away.
        const PartLoadRow& full = rows.back();
        double rpm = 0;
        Bereken(catalogue.Fans, c.fan, point.PinMotor, point.Efficiency, rpm);
        EXPECT_EQ(full.part->fanRpm, rpm);
        EXPECT_NEAR(full.part->motorPower, point.PinMotor, 1e-3 * point.PinMotor);
        EXPECT_NEAR(full.part->packCurrent, point.Current, 1e-3 * point.Current);
        EXPECT_NEAR(*full.efficiency, point.Efficiency, 1e-3);
    }
    // Rows on both sides of the fan's rpm at 75 W.
    EXPECT_GT(onCurve, 0);
    EXPECT_GT(byFanLaw, 0);
}

}  // namespace
}  // namespace mfb
