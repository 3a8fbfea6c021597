// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FlightSettingsBar.h"

#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <cmath>

#include "ui/FormFont.h"

namespace {

struct FieldDesign {
    const char* name;
    const char* caption;
    int captionLeft, fieldLeft, fieldWidth;
    int minimum, maximum;
    const char* suffix;
};

// The heaviest model the field takes, g.
constexpr int kMostModelWeight = 100000;

constexpr int WholePercent(double share) {
    return static_cast<int>(share * 100 + 0.5);
}

constexpr std::array<FieldDesign, 4> kFields{{
    {"PartThrottle", "Part throttle:", 20, 104, 64, WholePercent(mfb::kThrottleRange.least),
     WholePercent(mfb::kThrottleRange.most), " %"},
    {"FullThrottleShare", "Time at full throttle:", 196, 326, 64,
     WholePercent(mfb::kFullShareRange.least), WholePercent(mfb::kFullShareRange.most), " %"},
    {"UsableCapacity", "Capacity used:", 414, 506, 64, WholePercent(mfb::kUsableRange.least),
     WholePercent(mfb::kUsableRange.most), " %"},
    {"ModelWeight", "Model without pack:", 596, 720, 100, 0, kMostModelWeight, " g"},
}};

int Percent(double share) {
    return static_cast<int>(std::lround(share * 100));
}

}  // namespace

FlightSettingsBar::FlightSettingsBar(int top, int width, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FlightSettings"));
    setGeometry(0, top, width, 24);
    std::array<QSpinBox*, kFields.size()> fields{};
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const FieldDesign& d = kFields[i];
        auto* caption = new QLabel(QString::fromLatin1(d.caption), this);
        caption->setFont(FormFont());
        caption->move(d.captionLeft, 4);
        auto* field = new QSpinBox(this);
        field->setObjectName(QString::fromLatin1(d.name));
        field->setRange(d.minimum, d.maximum);
        field->setSuffix(QString::fromLatin1(d.suffix));
        field->setGeometry(d.fieldLeft, 0, d.fieldWidth, 22);
        caption->setBuddy(field);
        fields[i] = field;
    }
    throttle_ = fields[0];
    fullShare_ = fields[1];
    usable_ = fields[2];
    modelWeight_ = fields[3];
    modelWeight_->setSpecialValueText(QStringLiteral("not known"));
    modelWeight_->setToolTip(
        QStringLiteral("The model's weight without its pack, for the all-up weight and the thrust "
                       "to weight"));
    throttle_->setToolTip(
        QStringLiteral("Part throttle, as a share of the fan rpm at full "
                       "throttle"));
    fullShare_->setToolTip(
        QStringLiteral("The share of a flight's time at full throttle; the "
                       "rest is at part throttle"));
    usable_->setToolTip(QStringLiteral("The share of the pack's capacity a flight draws"));
    setSettings(settings_);
    // A field changes only its own setting, so that the others keep the exact shares a setup
    // gave them, whatever whole percent their fields round them to.
    connect(throttle_, &QSpinBox::valueChanged, this,
            [this](int percent) { change(&mfb::FlightSettings::throttle, percent); });
    connect(fullShare_, &QSpinBox::valueChanged, this,
            [this](int percent) { change(&mfb::FlightSettings::fullShare, percent); });
    connect(usable_, &QSpinBox::valueChanged, this,
            [this](int percent) { change(&mfb::FlightSettings::usable, percent); });
    connect(modelWeight_, &QSpinBox::valueChanged, this, [this](int grams) {
        mfb::FlightSettings changed = settings_;
        changed.modelWeight = grams > 0 ? std::optional<double>(grams) : std::nullopt;
        store(changed);
    });
}

void FlightSettingsBar::setSettings(const mfb::FlightSettings& settings) {
    {
        const QSignalBlocker blockers[] = {QSignalBlocker(throttle_), QSignalBlocker(fullShare_),
                                           QSignalBlocker(usable_), QSignalBlocker(modelWeight_)};
        throttle_->setValue(Percent(settings.throttle));
        fullShare_->setValue(Percent(settings.fullShare));
        usable_->setValue(Percent(settings.usable));
        modelWeight_->setValue(settings.modelWeight ? static_cast<int>(*settings.modelWeight) : 0);
    }
    store(settings);
}

void FlightSettingsBar::change(double mfb::FlightSettings::*share, int percent) {
    mfb::FlightSettings changed = settings_;
    changed.*share = percent / 100.0;
    store(changed);
}

void FlightSettingsBar::store(const mfb::FlightSettings& settings) {
    if (settings.throttle == settings_.throttle && settings.fullShare == settings_.fullShare &&
        settings.usable == settings_.usable && settings.modelWeight == settings_.modelWeight) {
        return;
    }
    settings_ = settings;
    emit settingsChanged(settings_);
}
