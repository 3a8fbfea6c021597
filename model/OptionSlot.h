// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <optional>
#include <string>

namespace mfb {

// One motor line of the catalogue. Doubles as read by the number rule.
struct TMotorData {
    double Kv = 0;  // rpm per volt
    double Ri = 0;  // winding resistance, ohm
    double Io = 0;  // no-load current, ampere
};

// One cell type of the battery catalogue, for a single cell.
struct TBatteryData {
    double Capacity = 0;    // mAh; shown, never calculated with
    double RCell = 0;       // ohm
    double UCell = 0;       // volt
    double CellWeight = 0;  // gram
};

// One fan of the fan catalogue. rpm(P) = a0 + a1 L + a2 L^2 + a3 L^3 + a4 L^4 with L = ln P, P the
// shaft power in watts.
struct TFanData {
    std::string Name;  // also the key by which a slot refers to the fan
    double a0 = 0, a1 = 0, a2 = 0, a3 = 0, a4 = 0;
    double ChartMinPower = 0;  // W; 0.9 times it is the lower end of a chart's power axis
    double Reserved = 0;       // read and validated, never used
};

inline constexpr int kFanCount = 5;
using FanTable = std::array<TFanData, kFanCount>;  // fan k is FanTable[k - 1]

// Limits a catalogue may state beside a component's data (catalogue/Limits.h says where). Each is
// above 0, or absent where the catalogue states none.
struct TMotorLimits {
    std::optional<double> MaxCurrent;  // A, continuous
    std::optional<double> MaxPower;    // W of electrical input
};
struct TCellLimits {
    std::optional<double> MaxRate;  // continuous discharge in C: current over capacity in Ah
};
using FanRpmLimits = std::array<std::optional<double>, kFanCount>;  // fan k's is [k - 1]

// What a catalogue may state of a fan besides its curve, for the figures of its jet (thrust,
// efflux speed). Each is absent where the catalogue states none, and a figure that needs it is
// then left out, never guessed.
struct TFanJetData {
    std::optional<double> SweptArea;         // cm2, the annulus between the rotor tip and the hub
    std::optional<double> StaticEfficiency;  // fraction of the shaft power that becomes jet power
};
using FanJetTable = std::array<TFanJetData, kFanCount>;  // fan k's is [k - 1]

// How many fans, from fan 1 on, had their name and all seven numbers read. A type of its own: the
// flag it replaced ("all fans loaded") would convert to a plain count of 1 without a word.
struct WholeFans {
    constexpr WholeFans() = default;
    constexpr explicit WholeFans(int fans) : count(fans) {}
    int count = 0;
};
inline constexpr WholeFans kAllFansWhole{kFanCount};

// The cells an option may have, in series and in parallel: the window's boxes, a setup file and
// the command line all hold a count to these.
inline constexpr int kMinSerie = 1, kMaxSerie = 40;
inline constexpr int kMinParallel = 1, kMaxParallel = 10;

// The data of one option column. Names are raw catalogue bytes; numbers are stored doubles, every
// formula behind them evaluated in extended precision and rounded once. All zero until written;
// nothing resets a slot, each field keeps its last value.
struct TOptionSlot {
    TMotorData Motor;
    TBatteryData Battery;
    TMotorLimits MotorLimits;  // of the chosen motor line
    TCellLimits CellLimits;    // of the chosen battery line
    std::string MotorName;     // columns 1-20 of the chosen motor line
    std::string BatteryName;   // columns 1-20 of the chosen battery line
    std::string FanName;       // a copy of one fan's Name

    int CellsSerie = 0;  // kMinSerie..kMaxSerie, from the option's spin edit when Calculate starts
    int CellsParallel = 0;  // kMinParallel..kMaxParallel

    double PackWeight = 0;  // g
    double UBattery = 0;    // V
    double RTotal = 0;      // ohm, cells plus wiring

    double PinMotor = 0;  // W, electrical input power of the motor, set by the sweep

    double Current = 0;     // A
    double UMotor = 0;      // V at the motor terminals
    double RpmMotor = 0;    // rpm
    double Efficiency = 0;  // fraction; shaft power PoutMotor = PinMotor * Efficiency, never stored
    double RpmFan = 0;      // rpm at which the slot's fan absorbs the shaft power
};

inline constexpr int kOptionCount = 4;

}  // namespace mfb
