// SPDX-License-Identifier: GPL-3.0-or-later
// Writes a generated parts list, motor.txt and battery.txt, into a folder, beside a copy of the
// sample fan.txt: generate-catalogue DIR MOTORS CELLS [SEED].
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <ostream>
#include <string>

#include "cli/WholeFile.h"
#include "tests/support/GeneratedCatalogue.h"

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::cerr << "usage: generate-catalogue DIR MOTORS CELLS [SEED]\n";
        return 2;
    }
    const std::string dir = argv[1];
    const int motors = std::atoi(argv[2]);
    const int cells = std::atoi(argv[3]);
    const std::uint64_t seed = argc == 5 ? std::strtoull(argv[4], nullptr, 10) : 1;
    if (motors < 1 || cells < 1) {
        std::cerr << "generate-catalogue: MOTORS and CELLS must be at least 1\n";
        return 2;
    }
    mfb::test::GeneratedCatalogue generated(seed, motors, cells);
    std::ifstream fans(MFB_SAMPLE_DATA "/fan.txt", std::ios::binary);
    const std::string fanText((std::istreambuf_iterator<char>(fans)), {});
    if (fanText.empty()) {
        std::cerr << "generate-catalogue: cannot read the sample fan.txt\n";
        return 1;
    }
    try {
        // A set of catalogues is only of use whole, so the three are placed together.
        using mfb::cli::WholeFile;
        WholeFile motor(dir + "/motor.txt", mfb::cli::Existing::Replace);
        WholeFile battery(dir + "/battery.txt", mfb::cli::Existing::Replace);
        WholeFile fan(dir + "/fan.txt", mfb::cli::Existing::Replace);
        motor.Stream() << generated.MotorText();
        battery.Stream() << generated.BatteryText();
        fan.Stream() << fanText;
        mfb::cli::PlaceAll({&motor, &battery, &fan});
    } catch (const std::exception& e) {
        std::cerr << "generate-catalogue: cannot write the catalogues into " << dir << ": "
                  << e.what() << '\n';
        return 1;
    }
    return 0;
}
