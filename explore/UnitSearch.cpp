// SPDX-License-Identifier: GPL-3.0-or-later
#include "explore/UnitSearch.h"

#include <cmath>
#include <limits>
#include <span>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/FastSweep.h"
#include "model/DiscardingSinks.h"
#include "model/Error.h"
#include "model/PowerTrain.h"

namespace mfb {

bool Passes(const ExploreRequest& request, const ExploreRow& row) {
    const ExploreFilter& filter = request.filter;
    const double power = KeyValue(row, ExploreKey::Power);
    // An unknown figure is -infinity, below every budget.
    const auto atLeast = [&](const std::optional<double>& budget, ExploreKey key) {
        return !budget || KeyValue(row, key) >= *budget;
    };
    return (!filter.maxCurrent || row.result.Current <= *filter.maxCurrent) &&
           (!filter.maxWeight || row.packWeight <= *filter.maxWeight) &&
           (!filter.minEfficiency || row.result.Efficiency >= *filter.minEfficiency) &&
           atLeast(filter.minThrust, ExploreKey::Thrust) &&
           atLeast(filter.minFlightTime, ExploreKey::FlightTime) &&
           atLeast(filter.minThrustToWeight, ExploreKey::ThrustToWeight) &&
           (!request.minPower || power >= *request.minPower) &&
           (!request.maxPower || power <= *request.maxPower);
}

FanView ViewFor(const Catalogue& catalogue, int number) {
    auto view = ViewOfFan(catalogue, number);
    if (!view) throw Error("there is no fan " + std::to_string(number));
    return *std::move(view);
}

bool NeedsFlight(const ExploreRequest& request) {
    const ExploreFilter& filter = request.filter;
    return request.pareto || request.key >= ExploreKey::Thrust || filter.minThrust ||
           filter.minFlightTime || filter.minThrustToWeight;
}

namespace {

// A motor and a cell type whose lines have been read into a slot once, for every combination
// that uses them.
struct Unit {
    const TOptionSlot* motor;
    const TOptionSlot* battery;
    std::size_t motorIndex;
    std::size_t batteryIndex;
    int fan;
};

long long ExploreCounts::*NotPossibleCount(NotPossibleReason reason) {
    switch (reason) {
        case NotPossibleReason::MotorStalls:
            return &ExploreCounts::motorStalls;
        case NotPossibleReason::MotorTooSlow:
            return &ExploreCounts::noKeptStep;
        case NotPossibleReason::None:
        case NotPossibleReason::PackTooWeak:
            break;
    }
    return &ExploreCounts::notPossible;
}

// Whether the pack alone breaks the weight budget. The pack weight needs no sweep, and a pack over
// the budget never ranks. One whose weight faults is left to the sweep, which reports the fault.
bool OverWeight(const ExploreRequest& request, const TOptionSlot& slot, int serie, int parallel) {
    if (!request.filter.maxWeight) return false;
    const double weight =
        static_cast<double>(PackWeightOf(serie, slot.Battery.CellWeight, parallel));
    return std::isfinite(weight) && weight > *request.filter.maxWeight;
}

// Calculates one combination of the slot's unit, counted and ranked into `counts` and `top`.
// Returns false when the stop flag gave it up.
bool ExploreCombination(const Catalogue& catalogue, const ExploreRequest& request, const Unit& unit,
                        const FanView& view, TOptionSlot& slot, int serie, int parallel,
                        const std::atomic<bool>* stop, ExploreCounts& counts, TopRows& top) {
    DiscardingSinks sinks;
    const SweepInputs inputs{
        view.fans, catalogue.WireResistance, catalogue.CompleteFans, request.option, serie,
        parallel,  request.decimalSeparator};
    CalculateReport report;
    SweepEffort effort;
    try {
        FindOperatingPoint(slot, inputs, sinks, sinks, report, &effort, stop);
    } catch (const SweepStopped&) {
        --counts.visited;
        return false;
    } catch (const Error&) {
        ++counts.faults;
        return true;
    }
    if (!effort.shortened) ++counts.fullSweeps;
    switch (report.outcome) {
        case Outcome::NotRun:
            ++counts.notRun;
            return true;
        case Outcome::NotPossible:
            ++(counts.*NotPossibleCount(report.reason));
            return true;
        case Outcome::StoppedAtLimit:
            ++counts.atLimit;
            return true;
        case Outcome::Calculated:
            break;
    }
    ExploreRow row;
    row.motor = unit.motorIndex;
    row.battery = unit.batteryIndex;
    row.fan = unit.fan;
    row.serie = serie;
    row.parallel = parallel;
    row.result = report.result;
    row.packWeight = slot.PackWeight;
    row.uBattery = slot.UBattery;
    row.rTotal = slot.RTotal;
    row.steps = report.steps;
    row.derived = Derive(slot, row.result);
    row.limits = CheckLimits(slot, view.fans, view.limits, row.result, row.derived);
    if (!request.ignoreLimits && AnyExceeded(row.limits)) {
        ++counts.overLimits;
        return true;
    }
    if (NeedsFlight(request)) {
        row.flight = Fly(slot, view.fans, view.jets, request.flight, row.result);
    }
    if (!Passes(request, row)) {
        ++counts.filteredOut;
        return true;
    }
    ++counts.ranked;
    top.Offer(row);
    return true;
}

// The rise of the fan at index `fan` of the view of fan `number`: the library fan where it stands
// in for the last fan of the blocks.
const std::optional<FanRise>& RiseOf(const Catalogue& catalogue, const Bounding& bounding,
                                     int number, std::size_t fan) {
    if (number > kFanCount && fan + 1 == kFanCount) {
        for (std::size_t k = 0; k < catalogue.FanLibrary.size(); ++k) {
            if (catalogue.FanLibrary[k].number == number) return bounding.libraryRises.at(k);
        }
    }
    return bounding.rises.at(fan);
}

// The combinations of one unit: every pack size, counted and ranked into `counts` and `top`. With
// bounds, a block of series counts (with every parallel count) whose key provably stays below the
// bar is settled without a sweep; a block that is not is halved, the larger packs first, down to
// single combinations.
class UnitSearch {
public:
    UnitSearch(const Catalogue& catalogue, const ExploreRequest& request, const Unit& unit,
               const std::atomic<bool>* stop, ExploreCounts& counts, TopRows& top,
               Bounding* bounding)
        : catalogue_(catalogue),
          request_(request),
          unit_(unit),
          stop_(stop),
          counts_(counts),
          top_(top),
          bar_(bounding != nullptr ? &bounding->bar : nullptr),
          view_(ViewFor(catalogue, unit.fan)) {
        slot_.Motor = unit.motor->Motor;
        slot_.MotorName = unit.motor->MotorName;
        slot_.MotorLimits = unit.motor->MotorLimits;
        slot_.Battery = unit.battery->Battery;
        slot_.BatteryName = unit.battery->BatteryName;
        slot_.CellLimits = unit.battery->CellLimits;
        ChooseFan(slot_, view_.fans, view_.button);
        const TFanData* deciding = DecidingFan(slot_, view_.fans);
        if (bounding != nullptr && deciding != nullptr && !request.space.parallels.empty()) {
            const auto fan = static_cast<std::size_t>(deciding - view_.fans.data());
            bound_ = KeyBound::For(request, slot_, catalogue, view_, fan,
                                   RiseOf(catalogue, *bounding, unit.fan, fan));
        }
    }

    void Run() { Block(request_.space.series); }

private:
    bool Stopped() const { return stop_ != nullptr && stop_->load(std::memory_order_relaxed); }

    // Whether bounds settle the block. Until some worker has `top` rows, nothing can be.
    bool Settled(int serie1, int serie2, int parallel1, int parallel2) const {
        if (!bound_) return false;
        const double bar = bar_->Get();
        return bar > -std::numeric_limits<double>::infinity() &&
               bound_->Below(serie1, serie2, parallel1, parallel2, bar);
    }

    void Block(std::span<const int> series) {
        // A combination given up is not visited: a partial run counts only what it saw.
        if (stopped_ || (stopped_ = Stopped())) return;
        const std::vector<int>& parallels = request_.space.parallels;
        if (series.empty() || parallels.empty()) return;
        if (series.size() > 1 &&
            Settled(series.front(), series.back(), parallels.front(), parallels.back())) {
            for (const int serie : series) Settle(serie, parallels);
            return;
        }
        if (series.size() > 1 && bound_) {
            const std::size_t half = series.size() / 2;
            Block(series.subspan(half));
            Block(series.first(half));
            return;
        }
        for (const int serie : series) Row(serie);
    }

    // Every parallel count of one series count.
    void Row(int serie) {
        const std::vector<int>& parallels = request_.space.parallels;
        if (Settled(serie, serie, parallels.front(), parallels.back())) {
            Settle(serie, parallels);
            return;
        }
        for (const int parallel : parallels) {
            if (stopped_ || (stopped_ = Stopped())) return;
            ++counts_.visited;
            if (OverWeight(request_, slot_, serie, parallel)) {
                ++counts_.pruned;
            } else if (Settled(serie, serie, parallel, parallel)) {
                ++counts_.bounded;
            } else if (!ExploreCombination(catalogue_, request_, unit_, view_, slot_, serie,
                                           parallel, stop_, counts_, top_)) {
                stopped_ = true;
            }
        }
    }

    void Settle(int serie, std::span<const int> parallels) {
        for (const int parallel : parallels) {
            ++counts_.visited;
            ++(OverWeight(request_, slot_, serie, parallel) ? counts_.pruned : counts_.bounded);
        }
    }

    const Catalogue& catalogue_;
    const ExploreRequest& request_;
    const Unit& unit_;
    const std::atomic<bool>* stop_;
    ExploreCounts& counts_;
    TopRows& top_;
    RankBar* bar_;
    FanView view_;
    TOptionSlot slot_;
    std::optional<KeyBound> bound_;
    bool stopped_ = false;
};

}  // namespace

long long PackSizes(const ExploreSpace& space) {
    return static_cast<long long>(space.series.size() * space.parallels.size());
}

std::optional<TOptionSlot> ReadLine(const std::vector<std::string>& lines, std::size_t index,
                                    bool motor, char separator, std::string* note) {
    TOptionSlot slot;
    try {
        if (motor) {
            ChooseMotor(slot, lines.at(index), separator);
        } else {
            ChooseBattery(slot, lines.at(index), separator);
        }
        return slot;
    } catch (const Error& e) {
        if (note != nullptr) {
            *note = std::string(motor ? "motor" : "battery") + " \"" +
                    std::string(EntryText(lines[index])) + "\" left out: " + e.what();
        }
        return std::nullopt;
    }
}

void ExploreItem(const Catalogue& catalogue, const ExploreRequest& request,
                 const std::vector<std::optional<TOptionSlot>>& batteries, const WorkUnit& item,
                 Worker& worker) {
    const ExploreSpace& space = request.space;
    if (worker.motorAt != item.motor) {
        worker.motorAt = item.motor;
        std::string note;
        worker.motor = ReadLine(catalogue.MotorLines, space.motors[item.motor], true,
                                request.decimalSeparator, &note);
        // The note is made once, by whoever takes the motor's first item.
        if (!worker.motor && item.battery == 0 && item.fan == 0) {
            worker.notes.emplace_back(item.motor, std::move(note));
        }
    }
    const std::optional<TOptionSlot>& battery = batteries[item.battery];
    if (!worker.motor || !battery) {
        const long long packs = PackSizes(space);
        worker.counts.unreadable += packs;
        worker.counts.visited += packs;
        return;
    }
    const Unit unit{&*worker.motor, &*battery, space.motors[item.motor],
                    space.batteries[item.battery], space.fans[item.fan]};
    UnitSearch(catalogue, request, unit, worker.stop, worker.counts, worker.best, worker.bounding)
        .Run();
}

// The bounds a ranked run settles combinations with; none where every combination is calculated.
std::unique_ptr<Bounding> BoundingFor(const Catalogue& catalogue, const ExploreRequest& request) {
    if (request.exhaustive || request.pareto || request.top == 0 ||
        catalogue.CompleteFans.count != kFanCount) {
        return nullptr;
    }
    auto bounding = std::make_unique<Bounding>();
    for (std::size_t k = 0; k < kFanCount; ++k) bounding->rises[k] = FanRiseOf(catalogue.Fans[k]);
    for (const LibraryFan& fan : catalogue.FanLibrary) {
        bounding->libraryRises.push_back(FanRiseOf(fan.fan));
    }
    return bounding;
}

}  // namespace mfb
