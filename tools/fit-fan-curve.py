#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Fit the fan-speed polynomials stored in data/fan.txt, and sanity-check the catalogues.

mfbcalc describes a fan by its speed as a quartic in the logarithm of the shaft
power it absorbs:

    rpm(P) = a0 + a1*L + a2*L^2 + a3*L^3 + a4*L^4,   L = ln(P / 1 W)

This script derives a0..a4 from the fan law (absorbed power grows with the cube
of the speed, P = P_ref * (n / n_ref)^3) around one reference point per fan, by a
least-squares fit over the fan's working power range.  The coefficients are
written raw, not centred or scaled, because the program evaluates exactly the
polynomial above.

Usage:
    tools/fit-fan-curve.py                       print the 8-line blocks of FANS
    tools/fit-fan-curve.py --write data/fan.txt  regenerate the whole fan file
    tools/fit-fan-curve.py --fan "92 mm,28000,2300,50,6500"
                                                 fit fans given on the command line
    tools/fit-fan-curve.py --check [--data DIR] [--cli PATH]
                                                 read data/*.txt, check the fixed
                                                 columns and calculate a set of
                                                 combinations with mfbcalc-cli

Adding a fan: the program reads exactly five fan blocks, so replace one row of
FANS below (or try it first with --fan), pick a reference point (speed and shaft
power at full throttle, e.g. from a static test) and a power range wide enough to
cover what the sweep will ask for (from a few tens of watts up to roughly three
times the reference power), then run --write and --check.  The fit error is
printed on stderr; the script fails if it reaches 1 %, if the curve does not
rise over the range, or if it climbs above its bottom value anywhere below
the range (see GUARD_LOW).

Python 3 standard library only.
"""

from __future__ import annotations

import argparse
import json
import math
import os
import re
import subprocess
import sys
from dataclasses import dataclass


@dataclass(frozen=True)
class Fan:
    name: str  # shown in the drop-down list, at most 20 characters
    rpm_ref: float  # speed at the reference point
    power_ref: float  # shaft power in W absorbed at rpm_ref
    fit_min: float  # shaft power range in W over which the fit is made
    fit_max: float
    chart_min: float  # lower end of the chart's power axis in W
    max_rpm: float = 0.0  # the highest speed the fan is built for; 0: none stated
    swept_area: float = 0.0  # cm2 between the rotor tip and the hub; 0: none stated
    static_efficiency: float = 0.0  # share of the shaft power that becomes jet power; 0: none


# Reference points are chosen for blade-tip speeds of about 125-145 m/s, where
# ducted fans of these sizes usually run flat out.  The lower end of every fit
# range reaches down to the shaft power the sweep usually sees at its 75 W
# start, and the upper end covers what an overpowered drive can push, because
# outside its fit range a quartic in ln(P) drifts away from the fan law.
# The maximum speeds keep the blade tips near 160-170 m/s, where fans of these
# sizes are usually rated.
# The swept areas are the annulus pi/4 (D^2 - d^2) of a rotor a millimetre
# short of the duct's bore and a hub of about 45 % of it; the static
# efficiencies (jet power over shaft power at a standstill) are what static
# tests of well-made fans of these sizes give, better for the larger ones.
FANS = [
    Fan("Fan 50 mm", 50000.0, 300.0, 20.0, 1000.0, 30.0, 62000.0, 14.3, 0.62),
    Fan("Fan 64 mm", 43000.0, 650.0, 30.0, 2000.0, 60.0, 50000.0, 25.0, 0.66),
    Fan("Fan 70 mm", 38000.0, 1000.0, 40.0, 3000.0, 100.0, 46000.0, 30.3, 0.68),
    Fan("Fan 90 mm", 29000.0, 2200.0, 40.0, 6500.0, 200.0, 36000.0, 49.6, 0.72),
    Fan("Fan 120 mm", 20000.0, 4000.0, 40.0, 12000.0, 400.0, 27000.0, 88.3, 0.74),
]

FAN_FILE_FANS = 5  # the program reads this many blocks
FAN_FIRST_LINE = 14  # 1-based line of the first fan name
MAX_REL_ERROR = 0.01
FIT_SAMPLES = 600
CHECK_SAMPLES = 5000

# Below the working range the curve must not run away.  The program clamps a
# negative shaft power to 1 W but passes 0 < P < 1 W on, and that happens
# whenever the motor's no-load loss Io*U exceeds the 75 W the sweep starts at:
# the first step with positive efficiency yields a shaft power of a fraction
# of a watt, i.e. a negative L.  A quartic fitted only on the working range
# climbs steeply there (to about a million rpm at L = -10) and stops the sweep
# at once.  So the fit also pulls, lightly, towards the fan law from
# L = GUARD_LOW up to the working range.  That costs a few tenths of a percent
# of accuracy in the working range and keeps the curve below its value at the
# bottom of the range for every shaft power down to GUARD_CHECK_POWER.
GUARD_LOW = -12.0
GUARD_WEIGHT = 0.01
GUARD_SAMPLES = 200
GUARD_CHECK_POWER = 1e-4

FAN_HEADER = [
    "mfbcalc fan list. Lines 1-13 are free text; the program does not read them.",
    "From line 14 on come five fans of 8 lines each: the name (whole line, at",
    "most 20 characters), then one number per line: a0, a1, a2, a3, a4, the",
    "lower end of the chart's power axis in W, and a reserved value (0).",
    "The fan turns at  rpm = a0 + a1*L + a2*L^2 + a3*L^3 + a4*L^4  when it",
    "absorbs the shaft power P (in W), with L = ln(P).  Numbers use '.'.",
    "After the fifth fan, optional lines  max rpm fan K: RPM,  swept area fan",
    "K: CM2  and  static efficiency fan K: FRACTION;  other lines: free text.",
    "The coefficients are least-squares fits of the fan law (power grows with",
    "the cube of the speed) around one reference point per fan, pulled lightly",
    "towards the fan law down to P << 1 W; raw, not centred; keep every digit.",
    "Do not edit them by hand: change the table in tools/fit-fan-curve.py and",
    "run  tools/fit-fan-curve.py --write data/fan.txt  then  --check.",
]
assert len(FAN_HEADER) == FAN_FIRST_LINE - 1


# ---------------------------------------------------------------- fitting


def fan_law_rpm(fan: Fan, power: float) -> float:
    return fan.rpm_ref * (power / fan.power_ref) ** (1.0 / 3.0)


def poly(coeffs: list[float], x: float) -> float:
    # Horner, in the same order as a plain power sum up to rounding.
    acc = 0.0
    for c in reversed(coeffs):
        acc = acc * x + c
    return acc


def log_grid(lo: float, hi: float, count: int) -> list[float]:
    a, b = math.log(lo), math.log(hi)
    return [a + (b - a) * i / (count - 1) for i in range(count)]


def least_squares(rows: list[list[float]], rhs: list[float]) -> list[float]:
    """Solve min |A x - b| by Householder QR.

    The raw power basis 1, L, ..., L^4 is badly conditioned; forming the
    normal equations would square that condition number, QR on equilibrated
    columns does not."""
    m, n = len(rows), len(rows[0])
    scale = [math.sqrt(sum(r[j] ** 2 for r in rows)) for j in range(n)]
    a = [[r[j] / scale[j] for j in range(n)] for r in rows]
    b = list(rhs)
    for k in range(n):
        x = [a[i][k] for i in range(k, m)]
        norm = math.sqrt(sum(v * v for v in x))
        if norm == 0.0:
            raise ValueError("rank-deficient fit (too few distinct sample points)")
        alpha = -math.copysign(norm, x[0])
        v = x
        v[0] -= alpha
        vv = sum(t * t for t in v)
        for j in range(k, n):
            d = 2.0 * sum(v[i - k] * a[i][j] for i in range(k, m)) / vv
            for i in range(k, m):
                a[i][j] -= d * v[i - k]
        d = 2.0 * sum(v[i - k] * b[i] for i in range(k, m)) / vv
        for i in range(k, m):
            b[i] -= d * v[i - k]
    x = [0.0] * n
    for k in range(n - 1, -1, -1):
        x[k] = (b[k] - sum(a[k][j] * x[j] for j in range(k + 1, n))) / a[k][k]
    return [x[j] / scale[j] for j in range(n)]


def fmt_number(x: float) -> str:
    # 12 significant digits: the terms of a raw polynomial in L can cancel
    # each other, so rounding the coefficients must stay far below the fit
    # error.  fit_fan() measures the error with the rounded values.
    return format(x, ".12g")


def fit_fan(fan: Fan) -> tuple[list[float], float]:
    """Return the coefficients (rounded as they will be written) and the
    largest relative speed error over the working range."""
    if not (0 < fan.fit_min < fan.power_ref < fan.fit_max):
        raise ValueError(f"{fan.name}: need 0 < fit_min < power_ref < fit_max")
    # Weighting every row by 1/rpm minimises the relative error, which is what
    # matters to the user at both ends of the range.
    rows, rhs = [], []
    for L in log_grid(fan.fit_min, fan.fit_max, FIT_SAMPLES):
        n = fan_law_rpm(fan, math.exp(L))
        rows.append([L**j / n for j in range(5)])
        rhs.append(1.0)
    w = GUARD_WEIGHT / fan.rpm_ref
    for L in log_grid(math.exp(GUARD_LOW), fan.fit_min, GUARD_SAMPLES):
        rows.append([w * L**j for j in range(5)])
        rhs.append(w * fan_law_rpm(fan, math.exp(L)))
    coeffs = [float(fmt_number(c)) for c in least_squares(rows, rhs)]
    worst = 0.0
    for L in log_grid(fan.fit_min, fan.fit_max, CHECK_SAMPLES):
        n = fan_law_rpm(fan, math.exp(L))
        worst = max(worst, abs(poly(coeffs, L) - n) / n)
    return coeffs, worst


def fan_block(fan: Fan, coeffs: list[float]) -> list[str]:
    if len(fan.name) > 20 or fan.name != fan.name.strip() or not fan.name.isascii():
        raise ValueError(f"fan name {fan.name!r}: at most 20 ASCII characters, no outer blanks")
    return [fan.name] + [fmt_number(c) for c in coeffs] + [fmt_number(fan.chart_min), "0"]


FAN_LIMITS_NOTE = "Limits: the highest rpm each fan is built for."
FAN_JET_NOTE = [
    "Jet data, for static thrust and efflux speed: the swept area in cm2 is the",
    "annulus between the rotor tip and the hub, pi/4 (D^2 - d^2), from the",
    "fan's drawing or measured; the static efficiency is the share of the shaft",
    "power the fan and its duct turn into jet power, 0.6-0.8 for model fans,",
    "from a static test: e = T^1.5 / (2 P sqrt(rho A)) with thrust T in N,",
    "shaft power P in W, rho = 1.225 kg/m3 and A in m2.  A fan without them",
    "shows no thrust.",
]


def fan_limit_lines(fans: list[Fan]) -> list[str]:
    limits = [f"max rpm fan {k}: {fmt_number(fan.max_rpm)}"
              for k, fan in enumerate(fans, 1) if fan.max_rpm > 0]
    jet = [f"swept area fan {k}: {fmt_number(fan.swept_area)}"
           for k, fan in enumerate(fans, 1) if fan.swept_area > 0]
    jet += [f"static efficiency fan {k}: {fmt_number(fan.static_efficiency)}"
            for k, fan in enumerate(fans, 1) if fan.static_efficiency > 0]
    return ([FAN_LIMITS_NOTE] + limits if limits else []) + (FAN_JET_NOTE + jet if jet else [])


def parse_fan_arg(text: str) -> Fan:
    parts = [p.strip() for p in text.split(",")]
    if len(parts) not in (5, 6):
        raise argparse.ArgumentTypeError("expected NAME,RPM,POWER,PMIN,PMAX[,CHARTMIN]")
    try:
        nums = [float(p) for p in parts[1:]]
    except ValueError as e:
        raise argparse.ArgumentTypeError(str(e)) from None
    if len(nums) == 4:
        nums.append(nums[2])
    return Fan(parts[0], *nums)


def fit_all(fans: list[Fan]) -> tuple[list[str], bool]:
    lines, ok = [], True
    for fan in fans:
        coeffs, err = fit_fan(fan)
        grid = log_grid(fan.fit_min, fan.fit_max, 400)
        rising = all(poly(coeffs, b) > poly(coeffs, a) for a, b in zip(grid, grid[1:]))
        bottom = poly(coeffs, math.log(fan.fit_min))
        below = max(poly(coeffs, L) for L in log_grid(GUARD_CHECK_POWER, fan.fit_min, 2000))
        tame = below <= bottom * 1.001
        print(
            f"{fan.name:<20}  {fan.fit_min:g}-{fan.fit_max:g} W  "
            f"max rel. error {err * 100:.3f} %  "
            f"highest rpm below range {below:.0f} (at {fan.fit_min:g} W: {bottom:.0f})"
            f"{'' if rising else '  NOT RISING'}{'' if tame else '  RUNS AWAY BELOW RANGE'}",
            file=sys.stderr,
        )
        ok = ok and err < MAX_REL_ERROR and rising and tame
        lines += fan_block(fan, coeffs)
    return lines, ok


# ---------------------------------------------------------------- catalogue reading

# What the program accepts in a number field; "  .03" is valid, so are blanks
# around the number.
NUMBER = re.compile(r"^ *[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)? *$")


class FormatError(Exception):
    pass


def field(line: str, first: int, last: int, where: str) -> float:
    """Columns first..last, counted from 1, as the program reads them."""
    text = line[first - 1 : last]
    if len(text) != last - first + 1 or not NUMBER.match(text):
        raise FormatError(f"{where}: columns {first}-{last} {text!r} is not a number")
    return float(text)


def blank(line: str, first: int, last: int, where: str) -> None:
    text = line[first - 1 : last]
    if text.strip():
        raise FormatError(f"{where}: columns {first}-{last} should be blank, got {text!r}")


def limit(line: str, first: int, last: int, where: str) -> float | None:
    """An optional limit in columns first..last: blank, or a number above 0."""
    text = line[first - 1 : last]
    if not text.strip():
        return None
    if not NUMBER.match(text) or float(text) <= 0:
        raise FormatError(f"{where}: limit in columns {first}-{last} {text!r} is not a number above 0")
    return float(text)


FAN_LIMIT = re.compile(r"^ *max rpm fan *(\d+) *:(.*)$", re.IGNORECASE)


def read_lines(path: str) -> list[str]:
    with open(path, "rb") as f:
        raw = f.read()
    if b"\r" in raw or b"\t" in raw:
        raise FormatError(f"{path}: CR or tab characters")
    try:
        text = raw.decode("ascii")
    except UnicodeDecodeError:
        raise FormatError(f"{path}: not plain ASCII") from None
    if not text.endswith("\n"):
        raise FormatError(f"{path}: last line has no line end")
    return text[:-1].split("\n")


def entry_name(line: str, where: str) -> str:
    # The program takes columns 1-20 as the name; the rest of 1-44 is only
    # shown in the drop-down list.
    if not line[:20].strip() or line[0] == " ":
        raise FormatError(f"{where}: no name in columns 1-20")
    return line[:20].rstrip()


@dataclass
class Motor:
    name: str
    kv: float
    ri: float
    io: float
    max_current: float | None = None
    max_power: float | None = None


@dataclass
class Cell:
    name: str
    capacity: float
    r: float
    u: float
    weight: float
    max_rate: float | None = None


@dataclass
class FanCurve:
    name: str
    coeffs: list[float]
    chart_min: float
    max_rpm: float | None = None


def read_motors(path: str) -> list[Motor]:
    motors = []
    for no, line in enumerate(read_lines(path), 1):
        w = f"{path}:{no}"
        if len(line) < 62:
            raise FormatError(f"{w}: line shorter than 62 columns")
        blank(line, 49, 50, w)
        blank(line, 56, 58, w)
        m = Motor(entry_name(line, w), field(line, 45, 48, w), field(line, 51, 55, w),
                  field(line, 59, 62, w), limit(line, 65, 68, w), limit(line, 71, 75, w))
        if not (1500 <= m.kv <= 4500 and 0.005 <= m.ri <= 0.08 and 1 <= m.io <= 5):
            raise FormatError(f"{w}: implausible motor {m}")
        motors.append(m)
    return motors


def read_cells(path: str) -> list[Cell]:
    cells = []
    for no, line in enumerate(read_lines(path), 1):
        w = f"{path}:{no}"
        if len(line) < 68:
            raise FormatError(f"{w}: line shorter than 68 columns")
        blank(line, 49, 50, w)
        blank(line, 57, 58, w)
        blank(line, 64, 64, w)
        c = Cell(entry_name(line, w), field(line, 45, 48, w), field(line, 51, 56, w),
                 field(line, 59, 63, w), field(line, 65, 68, w), limit(line, 71, 74, w))
        if not (0.002 <= c.r <= 0.015 and 1.0 <= c.u <= 4.2 and c.capacity > 0 and c.weight > 0):
            raise FormatError(f"{w}: implausible cell {c}")
        cells.append(c)
    return cells


def read_fans(path: str) -> list[FanCurve]:
    lines = read_lines(path)
    need = FAN_FIRST_LINE - 1 + 8 * FAN_FILE_FANS
    if len(lines) < need:
        raise FormatError(f"{path}: {len(lines)} lines, need {need}")
    fans = []
    for k in range(FAN_FILE_FANS):
        first = FAN_FIRST_LINE + 8 * k
        name = lines[first - 1]
        if not name.strip() or len(name) > 20 or name != name.rstrip():
            raise FormatError(f"{path}:{first}: bad fan name {name!r}")
        nums = []
        for j in range(1, 8):
            text = lines[first - 1 + j]
            if not NUMBER.match(text):
                raise FormatError(f"{path}:{first + j}: {text!r} is not a number")
            nums.append(float(text))
        fans.append(FanCurve(name, nums[:5], nums[5]))
    for no, line in enumerate(lines[need:], need + 1):
        m = FAN_LIMIT.match(line)
        if not m:
            continue
        k = int(m.group(1))
        if not 1 <= k <= FAN_FILE_FANS:
            raise FormatError(f"{path}:{no}: no fan {k}")
        fans[k - 1].max_rpm = limit(m.group(2), 1, len(m.group(2)), f"{path}:{no}")
    return fans


# ---------------------------------------------------------------- operating point


@dataclass
class Outcome:
    possible: bool
    pin: float = 0.0
    rpm: float = 0.0
    current: float = 0.0
    efficiency: float = 0.0
    shaft: float = 0.0


def operating_point(cli: str, data_dir: str, motor: Motor, cell: Cell, series: int,
                    parallel: int, fan_number: int) -> Outcome:
    """The program's own Calculate of the combination, through mfbcalc-cli --json,
    so that this script never keeps a second copy of the model."""
    run = subprocess.run(
        [cli, "--catalogues", data_dir, "--decimal-separator", ".", "--motor", motor.name,
         "--battery", cell.name, "--serie", str(series), "--parallel", str(parallel),
         "--fan", str(fan_number), "--json"],
        capture_output=True, text=True, check=False)
    try:
        data = json.loads(run.stdout)
    except json.JSONDecodeError as e:
        raise FormatError(f"{cli} gave no result: {run.stderr.strip()}") from e
    r = data["result"]
    if data["outcome"] != "calculated" or r["PinMotor"] == 0:
        return Outcome(False)
    return Outcome(True, r["PinMotor"], r["RpmMotor"], r["Current"], r["Efficiency"],
                   r["PinMotor"] * r["Efficiency"])


# Combinations a user would plausibly try, with what a sound catalogue must
# give: True = an operating point, False = "Combination not possible".
CHECKS = [
    ("Inrunner 2230-4500", "NiMH 2/3A 1100", 10, 1, "Fan 50 mm", True),
    ("Inrunner 2840-4300", "LiPo 2200 25C", 3, 1, "Fan 50 mm", True),
    ("Inrunner 3650-3300", "LiPo 3300 30C", 4, 1, "Fan 64 mm", True),
    ("Inrunner 2855-3000", "NiMH SC 3000", 12, 1, "Fan 64 mm", True),
    ("Inrunner 3660-2700", "LiPo 4000 35C", 6, 1, "Fan 70 mm", True),
    ("Inrunner 3670-2200", "LiPo 5000 40C", 6, 1, "Fan 70 mm", True),
    ("Inrunner 4074-1800", "LiPo 5000 40C", 6, 1, "Fan 90 mm", True),
    # Io*U = 93 W: the sweep starts below the motor's no-load loss and meets
    # a shaft power of 0.003 W, i.e. L = -6 (see GUARD_LOW).  The small pack
    # is overloaded, which is what the user wants to find out.
    ("Inrunner 4395-1600", "LiPo 1000 20C", 6, 1, "Fan 90 mm", True),
    ("Inrunner 43105-1500", "LiPo 5000 65C", 4, 2, "Fan 120 mm", True),
    ("Inrunner 3650-3300", "NiMH 2/3A 1100", 8, 1, "Fan 90 mm", False),
    ("Inrunner 3650-3900", "NiMH 2/3A 1100", 7, 1, "Fan 90 mm", False),
    ("Inrunner 3660-2700", "NiMH 4/5SC 2000", 10, 1, "Fan 120 mm", False),
]


def find(items, prefix: str, what: str):
    hits = [x for x in items if x.name == prefix] or [x for x in items if x.name.startswith(prefix)]
    if len(hits) != 1:
        raise FormatError(f"{what} {prefix!r}: {len(hits)} matches")
    return hits[0]


def check(data_dir: str, cli: str) -> bool:
    motors = read_motors(os.path.join(data_dir, "motor.txt"))
    cells = read_cells(os.path.join(data_dir, "battery.txt"))
    fans = read_fans(os.path.join(data_dir, "fan.txt"))
    print(f"{len(motors)} motors, {len(cells)} cell types, {len(fans)} fans read")
    ok = True
    if len(motors) < 12 or len(cells) < 8:
        print("too few motors or cell types")
        ok = False
    for kind, items in (("motor", motors), ("cell", cells), ("fan", fans)):
        names = [x.name for x in items]
        if len(set(names)) != len(names):
            print(f"duplicate {kind} names")
            ok = False

    head = (f"{'motor':<20} {'pack':<28} {'fan':<20} {'outcome':<13} "
            f"{'Pin W':>6} {'rpm':>6} {'I A':>6} {'eta':>5}")
    print(head)
    print("-" * len(head))
    for mname, cname, s, p, fname, want in CHECKS:
        motor, cell = find(motors, mname, "motor"), find(cells, cname, "cell")
        fan = find(fans, fname, "fan")
        res = operating_point(cli, data_dir, motor, cell, s, p, fans.index(fan) + 1)
        pack = f"{s}S{p}P {cell.name} {s * cell.u:.1f}V"
        if res.possible:
            line = (f"{'operates':<13} {res.pin:6.0f} {res.rpm:6.0f} {res.current:6.1f} "
                    f"{res.efficiency * 100:4.0f}%")
        else:
            line = "not possible"
        bad = res.possible != want or (res.possible and not 100 <= res.pin <= 6000)
        print(f"{motor.name:<20} {pack:<28} {fan.name:<20} {line}{'   <-- UNEXPECTED' if bad else ''}")
        ok = ok and not bad
    return ok


# ---------------------------------------------------------------- main


def main() -> int:
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--fan", action="append", type=parse_fan_arg, metavar="NAME,RPM,POWER,PMIN,PMAX[,CHARTMIN]",
                    help="fit this fan instead of the built-in table (repeatable)")
    ap.add_argument("--write", metavar="FILE", help="write a complete fan file (header and five fans)")
    ap.add_argument("--check", action="store_true", help="check the catalogues in --data and run sample combinations")
    ap.add_argument("--data", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data"),
                    help="catalogue directory for --check (default: the repository's data/)")
    ap.add_argument("--cli", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "build",
                                                 "app", "mfbcalc-cli"),
                    help="the mfbcalc-cli that --check runs the combinations with (default: build/app/)")
    args = ap.parse_args()

    if args.check:
        try:
            return 0 if check(args.data, args.cli) else 1
        except (FormatError, OSError) as e:
            print(f"error: {e}", file=sys.stderr)
            return 1

    fans = args.fan or FANS
    try:
        lines, ok = fit_all(fans)
    except ValueError as e:
        print(f"error: {e}", file=sys.stderr)
        return 1
    if not ok:
        print(f"error: fit error reaches {MAX_REL_ERROR:.0%}, or the curve does not rise, "
              "or it runs away below the range", file=sys.stderr)
        return 1
    if args.write:
        if len(fans) != FAN_FILE_FANS:
            print(f"error: the fan file holds exactly {FAN_FILE_FANS} fans", file=sys.stderr)
            return 1
        with open(args.write, "w", encoding="ascii", newline="\n") as f:
            f.write("\n".join(FAN_HEADER + lines + fan_limit_lines(fans)) + "\n")
    else:
        print("\n".join(lines))
    return 0


if __name__ == "__main__":
    sys.exit(main())
