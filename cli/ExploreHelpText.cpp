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
  --fans LIST            the fans by number, 1 to 5 and those of the fan library, or by
                         name, such as 2 or 1,3-6 or 3,"Fan 80 mm" (default: the five fans of
                         the blocks, those on the window's fan buttons). A name is a fan's
                         whole name, case ignored, between commas; an entry of digits and
                         dashes is a number, and a fan whose name holds a comma or matches
                         another fan's is given by its number
  --serie LIST           cells in series, 1 to 40, such as 6 or 4,6,8-10 (default 1-40)
  --parallel LIST        cells in parallel, 1 to 10, such as 2 or 1-3 (default 1-10)
  --option N             the option column whose Calculate is reproduced, 1 to 4 (default 1)
  --decimal-separator C  the decimal separator for reading the catalogues and showing values,
                         instead of the locale's

Budgets a ranked combination keeps at its operating point (numbers with '.' as the decimal
point):
  --max-current A        at most this current, in A
  --max-weight G         at most this pack weight, in g; a pack over it is left out before
                         its sweep (counted as pruned), so a tight budget runs much faster
  --min-efficiency F     at least this motor efficiency, a fraction such as 0.8
  --power LO-HI          a shaft power from LO to HI, in W, such as 1100-1300
  --min-thrust G         at least this static thrust, in g
  --min-flight-time MIN  at least this flight time, in minutes
  --min-thrust-to-weight R
                         at least this thrust to weight, such as 1.2 (needs --model-weight)
A combination whose figure is not known (a fan without jet data in fan.txt, a flight time with
no part throttle) does not keep a budget of that figure.

How the model is flown, for the flight figures (as in the single mode):
  --throttle PCT         part throttle, % of the operating point's fan rpm (default 65)
  --full-throttle PCT    share of a flight's time at full throttle, % (default 25)
  --usable PCT           share of the pack's capacity a flight draws, % (default 80)
  --model-weight G       the model's weight without its pack, 1 to 100000 g (default: not
                         known)

Catalogue limits: a combination over any limit the catalogues state (the motor's maximum
continuous current or input power, the cells' maximum continuous discharge in C, the fan's
maximum rpm, which the motor rpm is compared with) is left out and counted as such.
  --ignore-limits        ranks those combinations too

Ranking:
  --sort KEY             largest first by: rpm, power (shaft power), efficiency,
                         power-per-weight (shaft power per pack weight), runtime (full
                         throttle), thrust, thrust-to-weight, efflux, flight-time; or target:
                         the shaft power closest to the target first; or target-thrust: the
                         thrust closest to --target-thrust first. A row without the figure
                         comes last. Without --sort: thrust-to-weight where every fan searched
                         has jet data and --model-weight is given, thrust where only the jet
                         data are known, else power-per-weight
  --target-power W       the target, in W; without --sort it ranks by closeness to it, and it
                         cannot be combined with another --sort key. --sort target without it
                         aims at the middle of --power
  --target-thrust G      the target thrust, in g, likewise with --sort target-thrust
  --pareto               only the trade-off front, all of it; takes no --sort, target or --top.
                         With --model-weight and jet data for every fan: the combinations that
                         no other beats on thrust to weight and flight time at once, sorted by
                         thrust to weight, those below a thrust to weight of 1 left out unless
                         --min-thrust-to-weight sets the least; otherwise those no other beats
                         on thrust (shaft power where a fan has no jet data), all-up weight
                         (pack weight without --model-weight) and flight time, sorted by thrust.
                         The summary counts the front
  --top N                rows shown, 1 to 100000 (default 20); equal values keep catalogue order
  --jobs N               worker threads, 1 to 256 (default: one per processor)
  --verify               calculates every row shown once more with the full sweep and compares
                         the two; a difference is an error
  --exhaustive           calculates every combination: a ranking otherwise settles the blocks
                         of cell counts whose bounds prove they cannot reach its top rows
                         without calculating them (counted as settled by bounds); the rows
                         are the same either way
  --max-seconds S        stops after S seconds with the best rows of the combinations visited
                         so far; the output says it is partial

Spreading a search over several processes or machines:
  --shard K/N            runs the K-th of N deterministic shares of the space (K from 1 to N)
                         and writes its best rows and counts in a form --merge reads, with every
                         value exact; give every shard the same options
  --merge FILE...        reads the N shard files of one search and prints the ranking a single
                         run gives (same rows, same order, summed counts) in any output mode;
                         --catalogues must name the catalogues the shards ran on. A shard file
                         holds its search and a digest of its contents: a damaged one is
                         refused, naming the file and line, and every row is calculated again,
                         so a row that differs is refused too. A row left out, or replaced by
                         a worse one that is right in itself, is found only with --verify,
                         which runs each shard's share of the search again and refuses a shard
                         whose rows are not exactly those. The search is the shards': with
                         --merge only --catalogues, --decimal-separator, --jobs, --verify,
                         --max-seconds, --output and an output mode may be given

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
                 Run min    minutes the pack lasts at this current (full throttle)
                 Thrust g   static thrust, Efflux km/h the jet's speed (where fan.txt
                            states the fan's jet data; else "-")
                 Part A     the pack's current at part throttle
                 Flight min the flight time of a mixed flight
                 T/W        thrust to weight (with --model-weight)
                 C          the pack's C-rate: current over capacity in Ah
                 Margin %   how far below its tightest catalogue limit the combination
                            stays, in % of that limit (only when the catalogues state limits)
               then how many combinations were calculated, the time taken, and how they
               ended:
                 ranked                      shown above, up to --top
                 on the trade-off front      with --pareto: the ranked rows on the front
                 over a catalogue limit      beyond a limit the catalogues state
                 outside your budgets        beyond --max-current, --max-weight,
                                             --min-efficiency, --power, --min-thrust,
                                             --min-flight-time or --min-thrust-to-weight
                 motor too slow for this fan already at 75 W
                                             from 75 W on, the fan would turn faster than
                                             the motor: no operating point
                 motor stalls before the fan absorbs its power
                                             where the motor turns faster than the fan, it
                                             stands, turns backwards or delivers no power
                 pack too weak               "Combination not possible": the pack cannot
                                             deliver the power the fan asks for
                 no operating point below a megawatt
                                             the calculation stopped at 1 MW input
                 arithmetic fault            a floating-point fault, or a pack with a
                                             negative resistance
                 catalogue line unreadable   a motor or battery line with a bad number
                 motor or battery unnamed    a line without a name: nothing to calculate
                 over the weight budget, not swept
                                             a pack heavier than --max-weight, left out
                                             before any calculation
  --csv        the header line
               rank,motor,battery,fan,serie,parallel,rpm,shaft_power,efficiency,current,
               pin_motor,u_motor,pack_weight,power_per_weight,run_time,thrust,efflux,
               part_current,flight_time,thrust_to_weight,steps,c_rate,
               motor_current_limit,motor_current_margin,motor_power_limit,motor_power_margin,
               cell_rate_limit,cell_rate_margin,fan_rpm_limit,fan_rpm_margin
               (one line) and one line per row: fan is the fan's number, steps the sweep steps
               Calculate makes, a limit and its margin (%) blank where the catalogues state
               none, and a flight figure blank where it is not known; numbers have 17 significant digits and '.'. A partial run
               (--max-seconds) starts with a line "# partial: ...".
  --json       one object: combinations, seconds, counts
               (visited, ranked, over_limits, filtered_out, no_kept_step, motor_stalls,
               not_possible, at_limit, faults, unreadable, not_run, full_sweeps, pruned,
               bounded), front (with --pareto: the rows on the front), rows
               (objects with the CSV's keys up to c_rate, a flight figure not known null, and
               limits: one object per limit stated, {value, limit, margin, exceeded}), notes
               (the catalogue lines left out) and, last, partial (true when the run or the
               output was stopped early)
  --help, -h   this text

  --output FILE  writes the output to FILE instead of standard output, whole or not at all: a
               temporary file beside it is renamed into place once complete

A search of many combinations first prints an estimate of its run time on standard error, from
timing a sample of the space; a run that takes longer than a second shows its progress and the
time left there. Catalogue lines with a bad number are left out with a warning; a malformed
limit is ignored with a warning.

SIGINT (Ctrl-C) or SIGTERM stops a search as --max-seconds does, and stops writing rows at the
end of a row: the text and CSV then end with a line "# incomplete: ...", the JSON closes its
arrays with "partial": true, and the exit status is 130 or 143. CSV fields are text as written,
except that a name starting with '=', '+', '-' or '@' gets a leading "'", as a spreadsheet
writes text that it would otherwise run as a formula.

Exit status:
  0  the exploration ran, even when no combination was ranked
  1  a catalogue error, a row whose verification failed, standard output that could not be
     written whole (a full disk, a closed pipe), or memory that ran out
  2  a usage error, also a --motor or --battery pattern that matches nothing, and shard files
     that --merge refuses
  130, 143  stopped by SIGINT or SIGTERM; the output says so

Examples, in the source tree with its sample catalogues in data/:
  mfbcalc-cli explore --catalogues data --battery LiPo --serie 4-8 --max-current 60 --sort power
  mfbcalc-cli explore --catalogues data --fans 3 --target-power 1200 --max-weight 1500
  mfbcalc-cli explore --catalogues data --fans 3 --model-weight 900 --top 10
  mfbcalc-cli explore --catalogues data --fans 3 --model-weight 900 --pareto --min-thrust 2000
)";
}

}  // namespace mfb::cli
