// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ExploreHelpText.h"

namespace mfb::cli {

std::string_view ExploreHelpText() {
    return R"(Usage: mfbcalc-cli explore [OPTION]...

Calculates every combination of motor, battery cell type, fan, cells in series and cells in
parallel, each exactly as the Calculate button of an option column does, and prints the best
ones: those with an operating point that keeps the budgets, ranked by one value.

Which combinations:
  --catalogues DIR       the directory holding motor.txt, battery.txt and fan.txt (default: the
                         current directory)
  --motor PATTERN        the motors taking part (default: all). A pattern is matched against the
                         entry text as --list shows it, case ignored: `*` stands for any run of
                         characters and `?` for one, and the pattern must cover the whole text;
                         a pattern without them takes every entry that starts with it
  --battery PATTERN      the battery cell types, chosen the same way
  --fans LIST            fan numbers, 1 to 5, such as 2 or 1,3-5 (default: all five)
  --serie LIST           cells in series, 1 to 40, such as 6 or 4,6,8-10 (default 1-40)
  --parallel LIST        cells in parallel, 1 to 10, such as 2 or 1-3 (default 1-10)
  --option N             the option column whose Calculate is reproduced, 1 to 4 (default 1)
  --decimal-separator C  the decimal separator for reading the catalogues and showing values,
                         instead of the locale's

Budgets a ranked combination keeps at its operating point (numbers with '.' as the decimal
point):
  --max-current A        at most this current, in A
  --max-weight G         at most this pack weight, in g
  --min-efficiency F     at least this motor efficiency, a fraction such as 0.8

Ranking:
  --sort KEY             largest first by: rpm (the default), power (shaft power), efficiency,
                         power-per-weight (shaft power per pack weight), runtime
  --top N                rows shown, 1 to 100000 (default 20); equal values keep catalogue order
  --jobs N               worker threads, 1 to 256 (default: one per processor)
  --verify               calculates every row shown once more with the full sweep and compares
                         the two; a difference is an error

Output, one of:
  (none)       a table, values with two decimals as the window shows them:
                 #          rank
                 Motor      the motor's name, Battery the cell type's
                 Fan        the fan's number and name
                 S, P       cells in series and in parallel
                 Rpm        motor rpm at the operating point
                 Pout W     shaft power
                 Eff        motor efficiency, a fraction
                 Current A  current, Pin W the motor's input power, U Motor V its voltage
                 Weight g   pack weight
                 W/kg       shaft power per kilogram of pack
                 Run min    minutes the pack lasts at this current
               then how many combinations were calculated, how they ended and the time taken
  --csv        the header line
               rank,motor,battery,fan,serie,parallel,rpm,shaft_power,efficiency,current,
               pin_motor,u_motor,pack_weight,power_per_weight,run_time,steps
               (one line) and one line per row: fan is the fan's number, steps the sweep steps
               Calculate makes; numbers have 17 significant digits and '.'
  --json       one object: combinations, seconds, counts (visited, ranked, filtered_out,
               no_kept_step, not_possible, at_limit, faults, unreadable, not_run, full_sweeps),
               rows (objects with the CSV's keys) and notes (the catalogue lines left out)
  --help, -h   this text

A run that takes longer than a second shows its progress on standard error. Catalogue lines
with a bad number are left out with a warning.

Exit status:
  0  the exploration ran, even when no combination was ranked
  1  a catalogue error, a row whose verification failed, standard output that could not be
     written whole (a full disk, a closed pipe), or memory that ran out
  2  a usage error, also a --motor or --battery pattern that matches nothing

Example, in the source tree with its sample catalogues in data/:
  mfbcalc-cli explore --catalogues data --battery LiPo --serie 4-8 --max-current 60 --sort power
)";
}

}  // namespace mfb::cli
