// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <array>

#include "model/Flight.h"

class QSpinBox;

// How the modeller flies, for the figures of all four options: the part throttle, the share of a
// flight at full throttle, the share of the capacity drawn and the model's weight without its
// pack. A row of fields in whole percent and grams; it holds the settings as they were set, which
// a field shows rounded, and tells when they change.
class FlightSettingsBar : public QWidget {
    Q_OBJECT
public:
    // A row `width` px wide at `top` on `parent`.
    FlightSettingsBar(int top, int width, QWidget* parent);

    const mfb::FlightSettings& settings() const { return settings_; }
    void setSettings(const mfb::FlightSettings& settings);

signals:
    void settingsChanged(const mfb::FlightSettings& settings);

private:
    void change(double mfb::FlightSettings::*share, int percent);
    void store(const mfb::FlightSettings& settings);

    mfb::FlightSettings settings_;
    QSpinBox* throttle_;
    QSpinBox* fullShare_;
    QSpinBox* usable_;
    QSpinBox* modelWeight_;  // 0: not known
};
