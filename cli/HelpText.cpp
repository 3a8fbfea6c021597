// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/HelpText.h"

namespace mfb::cli {

std::string_view HelpText() {
    return R"(Usage: mfbcalc-cli [OPTION]...

Finds the operating point of one motor-fan-battery combination, exactly as the Calculate button
of an option column in the mfbcalc window does, from the catalogue files motor.txt, battery.txt
and fan.txt, and prints the result.

With "explore" as its first argument, "mfbcalc-cli explore [OPTION]...", it calculates every
combination of a part of the catalogues instead and ranks them; "mfbcalc-cli explore --help"
explains how.

"mfbcalc-cli check" reports the mistakes of hand-edited catalogues at their file, line and
columns; "mfbcalc-cli convert" rewrites the catalogues with another decimal separator;
"mfbcalc-cli setup FILE" calculates the four options of a setup saved by the window and prints
them side by side. Each explains itself with --help.

Choosing the combination:
  --catalogues DIR       the directory holding the three catalogue files (default: the current
                         directory)
  --motor M              the motor: a 0-based index into the sorted motor list (all digits), or
                         else the start of its entry text, case ignored; when several entries
                         start alike, the first in the sorted list is taken
  --battery B            the battery cell type, chosen the same way
  --fan N                the fan, 1 to 5 in the order of fan.txt (default 1)
  --serie N              cells in series, 1 to 40 (default 10)
  --parallel N           cells in parallel, 1 to 10 (default 1)
  --option N             the option column, 1 to 4 (default 1); option N takes the lower end of
                         its power axis from fan N
  --decimal-separator C  the decimal separator for reading the catalogues and showing values,
                         instead of the locale's (from LC_ALL, LC_NUMERIC or LANG)

How the model is flown, for the flight figures:
  --throttle PCT         part throttle, % of the operating point's fan rpm, 1 to 100
                         (default 65); below the least fan rpm of the sweep (at 75 W, or at
                         the operating point if lower) the shaft power follows the fan law,
                         the cube of the rpm, instead of the fan curve
  --full-throttle PCT    share of a flight's time at full throttle, % (default 25); the rest is
                         at part throttle
  --usable PCT           share of the pack's capacity a flight draws, % (default 80)
  --model-weight G       the model's weight without its pack, 1 to 100000 g; gives all-up
                         weight and thrust to weight (default: not known, and neither is shown)

The part-load table, where there is an operating point:
  --part-load [STEP]     after the result, the power train from STEP % to 100 % of the
                         operating point's fan rpm in steps of STEP % (default 10), as part
                         throttle is worked out: rpm, shaft power, motor input power, pack
                         current, efficiency, static thrust and the minutes the whole pack
                         lasts. Text: a "Part load:" table; --json: a "part_load" array of
                         objects (throttle_percent, fan_rpm, shaft_power, motor_power,
                         pack_current, efficiency, thrust, run_time, each null where not known,
                         and refusal, why a row has no figures, or null); --csv: that table
                         instead of the sweep steps

The motor and battery lists are sorted alphabetically with case ignored; --list shows them.
Without --motor or --battery nothing is calculated.

Output, one of:
  (none)       the nine result values as the option column shows them, one line each in its
               top-to-bottom order, "Caption: value unit": Weight g, U Battery V, U Motor V,
               R Total Ohm, Current A, Rpm n/min, Pin Motor W, Pout Motor W, Efficiency (a
               fraction). Values have two decimals and the locale's decimal separator. A value
               the calculation did not reach shows its caption alone. Then "Motor:",
               "Battery:" and "Fan:" with the names used (a selector matches the start of an
               entry), and, where there is an operating point, "C-rate: ... C" (current over
               pack capacity in Ah), "Full-throttle run time: ... min", "Shaft power per pack weight: ...
               W/kg" and a line per limit the catalogues state, "Within ... by N %" or
               "Over ... by N %"; then "Flight: ..." with the flight options, and the figures of
               the flight options that are known: "Static thrust: ... g", "Efflux speed: ...
               km/h", "Part-throttle current: ... A" (the pack's), "Part-throttle thrust: ... g",
               "Flight time: ... min", "All-up weight: ... g", "Thrust to weight: ...".
               Thrust and efflux need the fan's swept area and static efficiency in fan.txt;
               all-up weight and thrust to weight need --model-weight.
  --json       one JSON object with the keys
                 outcome      "calculated", "not_possible" (the pack cannot deliver the
                              power), "motor_stalls" (motor stalls before the fan absorbs its
                              power), "motor_too_slow" (motor too slow for this fan already at
                              75 W), "fault" or "not_run"
                 message      the warning or error text, else ""; for the motor's two
                              outcomes "Combination not possible" and the reason on a second line
                 failed_step  for "not_possible": 0 at the start power, else the 1-based step;
                              otherwise null
                 steps        sweep steps made (points per chart curve)
                 names        fan, motor, battery: the option's names
                 labels       the value texts written, keyed by caption ("Weight", "U Battery",
                              "U Motor", "R Total", "Current", "Rpm", "Pin Motor", "Pout Motor",
                              "Efficiency"); values not written are absent
                 pack         PackWeight, UBattery, RTotal
                 result       Current, RpmMotor, PinMotor, Efficiency, UMotor of the kept step
                 axes         bottom, left, right: {min, max} as the chart holds them, or null
                 title        the chart title line, or null
                 derived      c_rate, run_time (min), power_per_weight (W/kg) at the operating
                              point, or null without one
                 limits       one member per limit the catalogues state (motor_current,
                              motor_power, cell_rate, fan_rpm): {value, limit, margin (% of the
                              limit to spare, below 0 when over), exceeded}
                 flight       thrust (g), efflux (km/h), part_current (A), part_thrust (g),
                              flight_time (min), all_up_weight (g), thrust_to_weight, each
                              null where not known; part_throttle {fan_rpm, shaft_power,
                              motor_current, motor_power, pack_current, fan_law_below:
                              the fan rpm below which the fan law takes over, or
                              null} or null, and
                              part_refusal, why there is none, or null; null without an
                              operating point
                 flight_settings  throttle, full_throttle, usable (fractions), model_weight
                              (g, or null)
               Numbers have 17 significant digits and read back to the same value. Catalogue
               text is Latin-1; bytes above 127 are written as \u00XX escapes.
  --csv        every sweep step in sweep order, after the header line
               step,shaft_power,rpm_fan,rpm_motor,current
               with 17 significant digits and '.' as the decimal point
  --list       the sorted motors and batteries with their indexes, and the fans with their
               numbers
  --help, -h   this text

Exit status:
  0  calculated; a sweep that stopped at the calculator's power limit also counts, with its
     warning on standard error
  1  a catalogue error (a file that cannot be read, a bad number in the chosen line), a
     floating-point fault in the model, or a combination the calculator refuses (no valid fan,
     a negative pack resistance); nothing is printed on standard output after a catalogue error;
     also, for every command, standard output that could not be written whole (a full disk, a
     closed pipe) and memory that ran out
  2  a usage error, also a --motor or --battery that matches no entry, or one left out
  3  combination not possible: the pack cannot deliver the power the fan needs, or there is no
     operating point at which the motor turns and delivers power (it stalls first, or it is too
     slow for the fan already at 75 W)
  4  (check and convert) warnings only

Messages go to standard error, also a warning for every malformed limit in the catalogues
(the limit is ignored); the outputs above go to standard output.

Examples, in the source tree with its sample catalogues in data/:
  mfbcalc-cli --catalogues data --list
  mfbcalc-cli --catalogues data --motor 3 --battery 2 --serie 6 --fan 3
  mfbcalc-cli --catalogues data --motor "Inrunner 36" --battery LiPo --serie 6 --json
)";
}

}  // namespace mfb::cli
