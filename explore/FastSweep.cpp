// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/FastSweep.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "explore/FastSweepBounds.h"
#include "explore/StepPowers.h"
#include "explore/SweepSketch.h"
#include "model/PowerTrain.h"
#include "model/SweepSteps.h"

namespace mfb {

namespace {

// Steps in a run that the bounds must settle to be worth computing them; below it, stepping is
// cheaper.
constexpr long long kMinRun = 8;
// Steps made one by one after runs could not be settled, at most, before runs are tried again.
constexpr long long kMaxBackOff = 1LL << 12;

// An evaluated step.
struct Point {
    long long step;
    double power;
    Evaluation at;
};

// The quantities whose crossings of zero the search looks for: the stop test holds where
// Lead >= 0, a step is kept where Margin > 0.
Extended Lead(const Evaluation& e) {
    return static_cast<Extended>(e.RpmFan) - StopRpmMargin - e.RpmMotor;
}
Extended Margin(const Evaluation& e) {
    return static_cast<Extended>(e.RpmMotor) - e.RpmFan;
}
double LeadGuess(const Evaluation& e) {
    return static_cast<double>(Lead(e));
}
double MarginGuess(const Evaluation& e) {
    return static_cast<double>(Margin(e));
}
// The stop test of sweep::StopReached on an evaluation.
bool Stops(const Evaluation& e) {
    return static_cast<Extended>(e.RpmFan) - StopRpmMargin >= e.RpmMotor;
}
bool Kept(const Evaluation& e) {
    return e.RpmMotor > e.RpmFan;
}
// Runs cannot span a change of the shaft power's sign: the fan is held at its 1 W speed below zero
// and zero itself faults.
bool Driving(const Evaluation& e) {
    return e.Efficiency > 0;
}

class FastSweep {
public:
    FastSweep(TOptionSlot& slot, const SweepInputs& in, ResultView& view, CalculateReport& report,
              SweepEffort& effort, const std::atomic<bool>* stop)
        : slot_(slot), in_(in), view_(view), report_(report), effort_(effort), stop_(stop) {}

    // The loop of Calculate. Returns whether it reached Finish, and with it whether at the limit.
    bool Run(bool& atLimit) {
        fan_ = DecidingFan(slot_, in_.Fans);
        bounded_ = fan_ != nullptr && slot_.RTotal > 0 && slot_.Motor.Ri >= 0;
        if (bounded_) lastStep_ = LastPossibleStep(slot_);
        ClearFaults();  // the probes need them clear
        return RunBracketing(atLimit);
    }

private:
    enum class StepEnd { Made, AtLimit, NotPossible };

    // A sweep can run to hundreds of millions of steps: a time budget or a signal must be able to
    // end it within a combination, and one look at the flag every few thousand turns costs nothing.
    void PollStop() {
        if (stop_ != nullptr && (polls_++ & 4095) == 0 && stop_->load(std::memory_order_relaxed)) {
            throw SweepStopped{};
        }
    }

    // One step of Calculate's loop; `known` is the step's evaluation where a probe made it
    // without a fault, which is what the evaluation would store.
    StepEnd Step(const Evaluation* known) {
        if (slot_.PinMotor >= MaxSweepPower) return StepEnd::AtLimit;
        slot_.PinMotor = static_cast<double>(slot_.PinMotor + PowerStep);
        if (known != nullptr) {
            SetOutputs(slot_, *known);
        } else {
            ++effort_.evaluations;
            if (!EvaluateAtPower(slot_, in_.Fans)) {
                sweep::EndNotPossible(view_, report_);
                return StepEnd::NotPossible;
            }
        }
        sweep::Record(slot_, report_);
        return StepEnd::Made;
    }

    // What the loop of Calculate returns when a step ends it: whether it reached Finish.
    static bool Ended(StepEnd end, bool& atLimit) {
        atLimit = end == StepEnd::AtLimit;
        return end == StepEnd::AtLimit;
    }

    // Runs need the first step's values recorded, and bounds that hold.
    bool MayRun() const {
        return bounded_ && report_.FirstCurrent != 0 && report_.FirstRpmMotor != 0;
    }

    // Evaluates the step at `power`; false where the evaluation faulted.
    bool ProbeStep(double power, Evaluation& end) {
        ++effort_.evaluations;
        ++effort_.runsTried;
        return Probe(slot_, in_.Fans, power, end) == ProbeStatus::Evaluated;
    }

    // Whether the run from the current step to the evaluated step `to` is settled: no step of it
    // stops the sweep or faults, and the kept step after it is known.
    bool Settles(double power, const Evaluation& end) {
        RunBounds bounds;
        const bool bounded =
            BoundRun(slot_, *fan_,
                     {slot_.PinMotor, slot_.Current, slot_.UMotor, slot_.RpmMotor, slot_.RpmFan},
                     {power, end.Current, end.UMotor, end.RpmMotor, end.RpmFan}, true, bounds);
        ClearFaults();
        const bool apart = bounds.hasDifference;
        const bool neverStops = bounded && (bounds.rpmFan.hi - StopRpmMargin < bounds.rpmMotor.lo ||
                                            (apart && bounds.difference.hi < StopRpmMargin));
        const bool neverKept =
            bounds.rpmMotor.hi <= bounds.rpmFan.lo || (apart && bounds.difference.lo > 0);
        return neverStops && (Kept(end) || neverKept);
    }

    // Moves the sweep to the settled run's last step, as if every step had been made.
    void Jump(long long to, double power, const Evaluation& end) {
        ++effort_.blocks;
        effort_.shortened = true;
        report_.steps = to;
        slot_.PinMotor = power;
        SetOutputs(slot_, end);
        if (Kept(end)) {
            report_.result = {end.Current, end.RpmMotor, slot_.PinMotor, end.Efficiency,
                              end.UMotor};
        }
    }

    // The sweep as a search for the two places that decide it: the first step at which it stops
    // and the last step kept before that. The runs between evaluated steps are settled by the
    // bounds; the next step tried is where the crossing of the stop test or of the kept test is
    // predicted from the steps evaluated so far, and the search closes in on it from both sides
    // (regula falsi, with the end that has not moved weighted down). A run the bounds cannot
    // settle is halved, and where even short runs cannot be settled the steps are made one by one
    // for a while, as Calculate makes them.
    bool RunBracketing(bool& atLimit) {
        long long stepsBeforeTry = 0;
        long long backOff = kMinRun;
        while (!sweep::StopReached(slot_)) {
            PollStop();
            if (stepsBeforeTry == 0 && MayRun() && lastStep_ - report_.steps >= 2) {
                const Attempt attempt = Advance();
                if (attempt == Attempt::Advanced) {
                    backOff = kMinRun;
                    continue;
                }
                if (attempt == Attempt::Unsettled) {
                    stepsBeforeTry = backOff;
                    backOff = std::min(backOff * 2, kMaxBackOff);
                }
            }
            if (stepsBeforeTry > 0) --stepsBeforeTry;
            const bool known = right_ && right_->point.step == report_.steps + 1 && right_->clean;
            const Point here{report_.steps, slot_.PinMotor, OutputsOf(slot_)};
            const StepEnd end = Step(known ? &right_->point.at : nullptr);
            if (end != StepEnd::Made) return Ended(end, atLimit);
            previous_ = here;
            if (right_ && right_->point.step <= report_.steps) DropRight(report_.steps);
        }
        return true;
    }

    enum class Attempt { Advanced, NextStep, Unsettled };

    // What is known of a step beyond the current one.
    enum class Beyond {
        Crossing,   // the stop test holds there, it is not kept where the current step is, or the
                    // shaft power has the other sign
        Fault,      // the evaluation faulted
        Unsettled,  // nothing of either, but the bounds could not settle the run up to it
    };
    struct Right {
        Point point;
        Beyond kind;
        bool clean;                       // evaluated without a fault
        double lead, margin, efficiency;  // weighted down while this end stays
        long long triedFrom;              // the step from which a run to it was last tried
        int stays = 0;                    // runs settled since it was found
    };

    // Forgets the step beyond once reached, falling back on the nearest one known to stop.
    void DropRight(long long from) {
        right_.reset();
        if (stopping_ && stopping_->step > from) SetRight(*stopping_, Beyond::Crossing, true, from);
    }

    void SetRight(const Point& point, Beyond kind, bool clean, long long from) {
        if (kind == Beyond::Crossing && Stops(point.at) &&
            (!stopping_ || point.step < stopping_->step)) {
            stopping_ = point;
        }
        unbracketed_ = 0;
        // A crossing or a fault where none was aimed at shows the aim wrong; a run too long for
        // the bounds does not.
        if (kind != Beyond::Unsettled) aim_.reset();
        right_ = Right{
            point, kind, clean, LeadGuess(point.at), MarginGuess(point.at), point.at.Efficiency,
            from};
    }

    // Whether the step evaluated at `end` lies beyond a crossing the search must find.
    static bool Crosses(const Evaluation& here, const Evaluation& end) {
        return Stops(end) || (Kept(here) && !Kept(end)) || Driving(here) != Driving(end);
    }

    // Settles the run up to the next step tried, closing in until one is settled or the next
    // step is the only one left to try. At first the steps tried short of every crossing are only
    // evaluated, and the run up to the last of them is settled once the crossing nearest is closed
    // in on: one long run, where settling each would take as many bounds as steps tried. Where
    // that run cannot be settled, each run tried from then on is.
    Attempt Advance() {
        const Point here{report_.steps, slot_.PinMotor, OutputsOf(slot_)};
        if (!aimed_) {
            aimed_ = true;
            aim_ = SweepSketch(slot_, *fan_).Aim(here.step, lastStep_);
            ClearFaults();
        }
        std::optional<Point> left;  // tried, short of every crossing, not settled yet
        std::optional<Point> before = previous_;
        bool lazy = true;
        for (;;) {
            const Point& from = left ? *left : here;
            const long long to = Target(from, before);
            if (to <= from.step + 1) {
                if (left) {
                    if (Settles(left->power, left->at)) return Arrive(*left, *before);
                    SetRight(*left, Beyond::Unsettled, true, here.step);
                    left.reset();
                    before = previous_;
                    lazy = false;
                    continue;
                }
                return right_ && right_->kind == Beyond::Unsettled ? Attempt::Unsettled
                                                                   : Attempt::NextStep;
            }
            const bool known = right_ && right_->point.step == to;
            Point end{to, known ? right_->point.power : StepPowers::Sweep().Power(to), {}};
            if (known) {
                end = right_->point;
                right_->triedFrom = from.step;
            } else if (!ProbeStep(end.power, end.at)) {
                SetRight(end, Beyond::Fault, false, from.step);
                continue;
            }
            if (Crosses(from.at, end.at)) {
                SetRight(end, Beyond::Crossing, true, from.step);
                continue;
            }
            if (known) DropRight(end.step);
            if (!right_) ++unbracketed_;
            if (right_ && ++right_->stays >= 2) {
                // Regula falsi from a fixed end converges slowly; halving its value moves the
                // next estimate towards it.
                right_->lead /= 2;
                right_->margin /= 2;
                right_->efficiency /= 2;
            }
            if (lazy) {
                before = from;
                left = end;
                continue;
            }
            if (!Settles(end.power, end.at)) {
                SetRight(end, Beyond::Unsettled, true, here.step);
                continue;
            }
            return Arrive(end, here);
        }
    }

    // Moves to the end of a settled run, `before` being the step evaluated before that end.
    Attempt Arrive(const Point& end, const Point& before) {
        Jump(end.step, end.power, end.at);
        previous_ = before;
        return Attempt::Advanced;
    }

    // Steps from `from` until a value that changes by `slope` a step crosses zero from `value`,
    // or nothing if it is not heading there.
    static std::optional<double> Reach(double value, double slope) {
        if (value == 0 || slope == 0 || (value < 0) == (slope < 0)) return std::nullopt;
        return -value / slope;
    }

    // The next step to try from `here`: the last step before the predicted crossing nearest to
    // it; the step beyond, if no crossing lies before it and no run to it was tried from here;
    // else halfway there.
    long long Target(const Point& here, const std::optional<Point>& previous) const {
        const long long at = here.step;
        const bool kept = Kept(here.at);
        // Estimates only, in double arithmetic: quicker than extended, and as good for a guess.
        std::optional<double> ahead;
        const auto nearest = [&](std::optional<double> steps) {
            if (steps && (!ahead || *steps < *ahead)) ahead = steps;
        };
        if (!right_ && aim_ && at < aim_->stop) {
            // The aimed steps: the last at which the motor does not drive the fan and the last
            // kept, each followed by the next made singly to see the change, and the last one
            // short of the stop.
            if (at < aim_->lastIdle) return aim_->lastIdle;
            if (at == aim_->lastIdle) return at + 1;
            if (at < aim_->lastKept) return aim_->lastKept;
            if (at == aim_->lastKept && kept) return at + 1;
            return std::max(at + 1, aim_->stop - 1);
        }
        if (!right_) {
            if (previous && previous->step < at) {
                const double span = static_cast<double>(at - previous->step);
                nearest(Reach(LeadGuess(here.at),
                              (LeadGuess(here.at) - LeadGuess(previous->at)) / span));
                if (kept) {
                    nearest(Reach(MarginGuess(here.at),
                                  (MarginGuess(here.at) - MarginGuess(previous->at)) / span));
                }
                nearest(Reach(here.at.Efficiency,
                              (here.at.Efficiency - previous->at.Efficiency) / span));
            }
            if (!ahead) return lastStep_;
            // A little beyond the prediction: either the run is settled up to near the
            // crossing, or the crossing is bracketed closely from both sides.
            const double reach = *ahead * (unbracketed_ > 0 ? 2 * kOvershoot : kOvershoot) + 1;
            return reach >= static_cast<double>(lastStep_ - at)
                       ? lastStep_
                       : at + static_cast<long long>(reach);
        }
        const long long beyond = right_->point.step;
        if (beyond - at <= 1) return at + 1;
        const double span = static_cast<double>(beyond - at);
        const Evaluation& there = right_->point.at;
        // Inverse quadratic interpolation through the step before, this one and the one beyond
        // where it lands between the two, else regula falsi.
        const auto estimate = [&](auto value, double weighted) -> std::optional<double> {
            const double f1 = value(here.at);
            const double f2 = value(there);
            if (previous && previous->step < at) {
                const double x0 = static_cast<double>(previous->step - at);
                const double f0 = value(previous->at);
                if (f0 != f1 && f0 != f2 && f1 != f2) {
                    const double x = x0 * f1 * f2 / ((f0 - f1) * (f0 - f2)) +
                                     span * f0 * f1 / ((f2 - f0) * (f2 - f1));
                    if (x > 0 && x < span) return x;
                }
            }
            return Reach(f1, (weighted - f1) / span);
        };
        if (right_->kind != Beyond::Fault && !Crosses(here.at, there)) {
            if (right_->triedFrom != at) return beyond;
        } else if (right_->kind != Beyond::Fault) {
            if (Stops(there)) nearest(estimate(LeadGuess, right_->lead));
            if (kept && !Kept(there)) nearest(estimate(MarginGuess, right_->margin));
            if (Driving(here.at) != Driving(there)) {
                nearest(
                    estimate([](const Evaluation& e) { return e.Efficiency; }, right_->efficiency));
            }
        }
        // The last step short of the crossing.
        const long long to =
            ahead ? at + static_cast<long long>(std::ceil(*ahead)) - 1 : at + (beyond - at) / 2;
        return std::clamp(to, at + 1, beyond - 1);
    }

    static constexpr double kOvershoot = 1.25;

    TOptionSlot& slot_;
    const SweepInputs& in_;
    ResultView& view_;
    CalculateReport& report_;
    SweepEffort& effort_;
    const TFanData* fan_ = nullptr;
    bool bounded_ = false;
    long long lastStep_ = 0;
    int unbracketed_ = 0;  // runs settled in a row without a step beyond known
    bool aimed_ = false;
    std::optional<SweepAim> aim_;    // where the sketch predicts the sweep decides, until it errs
    std::optional<Point> previous_;  // the step before the current one that was evaluated
    std::optional<Right> right_;
    std::optional<Point> stopping_;  // the nearest step beyond known to stop the sweep
    const std::atomic<bool>* stop_;
    unsigned polls_ = 0;
};

}  // namespace

void FindOperatingPoint(TOptionSlot& slot, const SweepInputs& inputs, ResultView& view,
                        ChartSink& chart, CalculateReport& report, SweepEffort* effort,
                        const std::atomic<bool>* stop) {
    SweepEffort ignored;
    SweepEffort& counted = effort != nullptr ? *effort : ignored;
    counted = SweepEffort{};
    ++counted.evaluations;
    if (!sweep::Begin(slot, inputs, view, chart, report)) return;
    bool atLimit = false;
    if (!FastSweep(slot, inputs, view, report, counted, stop).Run(atLimit)) return;
    sweep::Finish(slot, inputs, view, chart, report, atLimit);
}

}  // namespace mfb
