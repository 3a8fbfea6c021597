// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/FigureRows.h"

#include "model/DisplayFormat.h"

namespace mfb {

namespace {

constexpr std::array<std::string_view, kShownFigureCount> kCaptions = {
    "C-rate",      "Full-throttle run time", "Power per kg", "Static thrust", "Efflux speed",
    "Flight time", "Thrust to weight"};

}  // namespace

std::array<std::string_view, kShownFigureCount> ShownFigureCaptions() {
    return kCaptions;
}

ShownFigures ShowFigures(const Assessment& assessment, const FlightSettings& settings,
                         char separator) {
    const auto number = [&](double value) { return FormatValue(value, separator); };
    const auto with = [&](double value, std::string_view unit) {
        return unit.empty() ? number(value) : number(value) + ' ' + std::string(unit);
    };
    const auto percent = [&](double share) { return number(share * 100) + " %"; };
    const DerivedFigures& derived = assessment.figures;
    const FlightFigures& flight = assessment.flight;
    ShownFigures shown;
    for (std::size_t i = 0; i < shown.size(); ++i) shown[i].caption = kCaptions[i];

    shown[0].value = with(derived.cRate, "C");
    shown[0].note = "The pack's current over its capacity in Ah";
    if (const auto& rate = assessment.limits[static_cast<std::size_t>(LimitKind::CellRate)]) {
        shown[0].note += '\n' + DescribeLimit(LimitKind::CellRate, *rate, separator);
    }
    shown[1].value = with(derived.runTime, "min");
    shown[1].note = "The whole pack drained at full throttle";
    shown[2].value = with(derived.powerPerWeight, "W/kg");
    shown[2].note = "Shaft power per kg of pack";

    const std::string noJet =
        "Not known: the fan catalogue states no swept area or static "
        "efficiency for this fan";
    if (flight.full) {
        shown[3].value = with(flight.full->thrust, "g");
        shown[3].note = "At a standstill, by momentum theory in sea-level air";
        if (flight.partJet) {
            shown[3].note += "\nAt part throttle (" + percent(settings.throttle) +
                             " of the fan rpm): " + with(flight.partJet->thrust, "g");
        }
        shown[4].value = with(flight.full->efflux, "km/h");
        shown[4].note = "The speed of the jet at a standstill";
        if (flight.jetQuestioned) {
            for (const std::size_t i : {3u, 4u})
                shown[i].note += std::string("\n") + kJetQuestionedNote;
        }
    } else {
        shown[3].note = shown[4].note = noJet;
    }
    if (flight.flightTime && flight.part) {
        shown[5].value = with(*flight.flightTime, "min");
        shown[5].note = percent(settings.fullShare) +
                        " of the time at full throttle, the rest at " + percent(settings.throttle) +
                        " of the fan rpm (" + with(flight.part->packCurrent, "A") +
                        " from the pack), drawing " + percent(settings.usable) + " of the capacity";
        if (flight.part->fanLaw) shown[5].note += '\n' + DescribeFanLaw(*flight.part, separator);
    } else {
        shown[5].note = flight.part ? "Not known: the pack's capacity is not known"
                                    : "Not known: " + DescribeRefusal(flight.refusal, separator);
    }
    if (flight.thrustToWeight && flight.allUpWeight) {
        shown[6].value = number(*flight.thrustToWeight);
        shown[6].note = "Static thrust over the all-up weight of " + with(*flight.allUpWeight, "g");
    } else {
        shown[6].note = settings.modelWeight ? noJet : "Needs the model's weight without its pack";
    }
    return shown;
}

}  // namespace mfb
