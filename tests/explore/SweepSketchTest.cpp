// SPDX-License-Identifier: GPL-3.0-or-later
// The sketch only aims the shortened sweep: a wrong aim costs evaluations, never exactness, so no
// comparison with Calculate would notice one that drifted off. Here its aim is held against where
// the sample catalogue's sweeps decide.
#include <gtest/gtest.h>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/FastSweep.h"
#include "explore/StepPowers.h"
#include "explore/SweepSketch.h"
#include "model/DiscardingSinks.h"
#include "tests/support/SampleCatalogue.h"

namespace mfb {
namespace {

TEST(SweepSketchTest, AimsAtTheStepsWhereTheSampleSweepsDecide) {
    const Catalogue catalogue = test::SampleCatalogue();
    const StepPowers& steps = StepPowers::Sweep();
    DiscardingSinks sinks;
    long long index = 0;
    int calculated = 0;
    int aimed = 0;
    int right = 0;
    for (const std::string& motor : catalogue.MotorLines) {
        for (const std::string& battery : catalogue.BatteryLines) {
            for (int fan = 1; fan <= kFanCount; ++fan) {
                for (int serie = 1; serie <= 40; ++serie) {
                    for (int parallel = 1; parallel <= 10; ++parallel) {
                        if (++index % 331 != 0) continue;
                        TOptionSlot slot;
                        ChooseMotor(slot, motor, '.');
                        ChooseBattery(slot, battery, '.');
                        ChooseFan(slot, catalogue.Fans, fan);
                        const SweepInputs in{catalogue.Fans,
                                             catalogue.WireResistance,
                                             kAllFansWhole,
                                             1,
                                             serie,
                                             parallel,
                                             '.'};
                        CalculateReport report;
                        FindOperatingPoint(slot, in, sinks, sinks, report);
                        if (report.outcome != Outcome::Calculated || report.steps < 2) continue;
                        ++calculated;
                        const std::optional<SweepAim> aim =
                            SweepSketch(slot, catalogue.Fans[fan - 1])
                                .Aim(1, LastPossibleStep(slot));
                        if (!aim) continue;
                        ++aimed;
                        if (aim->stop == report.steps &&
                            aim->lastKept == steps.FirstStepFrom(report.result.PinMotor)) {
                            ++right;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(calculated, 500);
    EXPECT_GE(aimed, calculated * 95 / 100);
    EXPECT_GE(right, aimed * 98 / 100);
}

}  // namespace
}  // namespace mfb
