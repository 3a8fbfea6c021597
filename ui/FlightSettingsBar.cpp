// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FlightSettingsBar.h"

#include <QLabel>

#include "setup/FlightSettingTable.h"
#include "ui/FlightSettingField.h"
#include "ui/FormFont.h"
#include "ui/Latin1Text.h"

namespace {

struct FieldDesign {
    const char* name;
    int captionLeft, fieldLeft, fieldWidth;
};

// By kFlightSettingRows.
constexpr std::array<FieldDesign, 4> kFields{{
    {"PartThrottle", 20, 104, 50},
    {"FullThrottleShare", 196, 326, 50},
    {"UsableCapacity", 414, 506, 50},
    {"ModelWeight", 596, 720, 86},
}};
static_assert(kFields.size() == mfb::kFlightSettingRows.size());

constexpr int kUnitGap = 4;

bool Same(const mfb::FlightSettings& a, const mfb::FlightSettings& b) {
    return a.throttle == b.throttle && a.fullShare == b.fullShare && a.usable == b.usable &&
           a.modelWeight == b.modelWeight;
}

std::optional<double> Stored(const mfb::FlightSettingRow& row, const mfb::FlightSettings& s) {
    return row.share != nullptr ? std::optional(s.*row.share) : s.modelWeight;
}

}  // namespace

FlightSettingsBar::FlightSettingsBar(int top, int width, char decimalSeparator, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("FlightSettings"));
    setGeometry(0, top, width, 24);
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const FieldDesign& d = kFields[i];
        const mfb::FlightSettingRow& row = mfb::kFlightSettingRows[i];
        auto* caption = new QLabel(Latin1(row.label) + u':', this);
        caption->setFont(FormFont());
        caption->move(d.captionLeft, 4);
        auto* field = new FlightSettingField(i, decimalSeparator, this);
        field->setObjectName(QString::fromLatin1(d.name));
        field->setGeometry(d.fieldLeft, 0, d.fieldWidth, 22);
        caption->setBuddy(field);
        auto* unit = new QLabel(Latin1(row.unit), this);
        unit->setFont(FormFont());
        unit->move(d.fieldLeft + d.fieldWidth + kUnitGap, 4);
        fields_[i] = field;
        field->showValue(Stored(row, settings_));
        // A field changes only its own setting, so that the others keep the exact values a setup
        // gave them, whatever their fields round them to.
        connect(field, &FlightSettingField::valueEdited, this,
                [this, &row](std::optional<double> value) {
                    mfb::FlightSettings changed = settings_;
                    if (row.share != nullptr) {
                        changed.*row.share = value.value_or(changed.*row.share);
                    } else {
                        changed.modelWeight = value;
                    }
                    store(changed);
                });
    }
}

void FlightSettingsBar::setSettings(const mfb::FlightSettings& settings) {
    store(settings);
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        fields_[i]->showValue(Stored(mfb::kFlightSettingRows[i], settings_));
    }
}

void FlightSettingsBar::store(const mfb::FlightSettings& settings) {
    if (Same(settings, settings_)) return;
    settings_ = settings;
    emit settingsChanged(settings_);
}
