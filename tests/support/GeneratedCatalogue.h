// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>

#include "catalogue/Catalogue.h"
#include "catalogue/FileReader.h"

namespace mfb::test {

// A shop's parts list for measuring the explorer at scale: `motors` motor lines and `cells` cell
// type lines with the spreads of real parts, over the five sample fans. The same seed gives the
// same bytes on every machine: the random numbers come from mt19937_64, whose sequence the
// standard fixes, and are turned into values here, not by the library's distributions.
//
// Motors come in size classes from 22 mm inrunners to 56 mm ones; within a class the kv spreads
// over a factor of two, the winding resistance falls with the square of the kv's inverse and with
// the size, and the limits grow with the size. Cells are NiMH, LiPo and Li-ion types, the weight
// following the capacity, the resistance falling with it, the rate limit at random.
class GeneratedCatalogue {
public:
    GeneratedCatalogue(std::uint64_t seed, int motors, int cells)
        : random_(seed), motors_(motors), cells_(cells) {}

    std::string MotorText() {
        struct Size {
            int diameter, length, grams, kvLow, kvHigh;
            double ri, io;  // at the class's lowest kv
            int amps, watts;
        };
        static constexpr std::array<Size, 7> kSizes{{
            {22, 30, 48, 3500, 6000, 0.090, 1.2, 25, 250},
            {28, 45, 105, 2800, 4800, 0.035, 1.8, 50, 600},
            {36, 60, 215, 2000, 4000, 0.020, 2.6, 80, 1700},
            {40, 74, 360, 1500, 3000, 0.012, 2.7, 110, 3000},
            {43, 95, 520, 1300, 2400, 0.008, 4.2, 130, 4500},
            {50, 80, 680, 1000, 2000, 0.006, 3.5, 150, 6000},
            {56, 100, 900, 800, 1600, 0.004, 4.5, 200, 9000},
        }};
        std::string text;
        for (int i = 0; i < motors_; ++i) {
            const Size& size = kSizes[Below(kSizes.size())];
            const int kv = static_cast<int>(Uniform(size.kvLow, size.kvHigh));
            const double scale = static_cast<double>(size.kvLow) / kv;
            const double ri = std::max(0.001, size.ri * scale * scale * Uniform(0.7, 1.4));
            const double io = std::min(9.9, size.io / scale * Uniform(0.7, 1.3));
            const int amps = std::min(9999, static_cast<int>(size.amps * Uniform(0.8, 1.3)));
            const int watts = std::min(99999, static_cast<int>(size.watts * Uniform(0.8, 1.3)));
            const int length = size.length + static_cast<int>(Below(20)) - 10;
            char name[64], line[192];
            std::snprintf(name, sizeof name, "Gen %02d%02d-%04d %05d", size.diameter, length % 100,
                          kv, i);
            std::snprintf(line, sizeof line,
                          "%-20.20s%2dx%-3d mm %4d g        %4d  %5.3f   %4.1f  %4d  %5d\n", name,
                          size.diameter, length, size.grams, kv, ri, io, amps, watts);
            text += line;
        }
        return text;
    }

    std::string BatteryText() {
        struct Chemistry {
            const char* name;
            double volts, capacityLow, capacityHigh, gramsPerAh, ohmAh, rateLow, rateHigh;
        };
        static constexpr std::array<Chemistry, 3> kChemistries{{
            {"NiMH", 1.20, 700, 5000, 17, 0.012, 8, 25},
            {"LiPo", 3.70, 500, 8000, 25, 0.012, 15, 90},
            {"LiIon", 3.60, 1500, 5000, 16, 0.060, 3, 12},
        }};
        std::string text;
        for (int i = 0; i < cells_; ++i) {
            const Chemistry& c = kChemistries[Below(kChemistries.size())];
            const int capacity = static_cast<int>(Uniform(c.capacityLow, c.capacityHigh));
            const double ah = capacity / 1000.0;
            const int grams =
                std::max(5, static_cast<int>(c.gramsPerAh * ah * Uniform(0.85, 1.2) + 4));
            const double ohms = std::max(0.0008, c.ohmAh / ah * Uniform(0.6, 1.5));
            const int rate = static_cast<int>(Uniform(c.rateLow, c.rateHigh));
            char name[64], line[192];
            std::snprintf(name, sizeof name, "%s %d %dC %04d", c.name, capacity, rate, i);
            std::snprintf(line, sizeof line,
                          "%-20.20sgenerated cell %4d g   %4d  %6.4f  %5.2f %4d  %4d\n", name,
                          grams, capacity, ohms, c.volts, grams, rate);
            text += line;
        }
        return text;
    }

private:
    double Uniform(double low, double high) {
        const double unit = static_cast<double>(random_() >> 11) * 0x1p-53;
        return low + (high - low) * unit;
    }
    std::size_t Below(std::size_t count) { return static_cast<std::size_t>(random_() % count); }

    std::mt19937_64 random_;
    int motors_;
    int cells_;
};

// The generated parts list read as the program reads its catalogues, with the sample fans.
inline Catalogue LoadGeneratedCatalogue(std::uint64_t seed, int motors, int cells) {
    GeneratedCatalogue generated(seed, motors, cells);
    const std::string motorText = generated.MotorText();
    const std::string batteryText = generated.BatteryText();
    Catalogue catalogue;
    std::array<TOptionSlot, kOptionCount> slots;
    LoadObserver quiet;
    const CataloguePlatform platform{
        [&](const std::string& name) {
            if (name == "motor.txt") return motorText;
            if (name == "battery.txt") return batteryText;
            return ReadWholeFile(MFB_SAMPLE_DATA "/" + name);
        },
        [](const std::string& a, const std::string& b) { return a < b; }, '.'};
    LoadCatalogues(catalogue, slots, platform, quiet);
    return catalogue;
}

}  // namespace mfb::test
