// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <array>

#include "model/Flight.h"

class FlightSettingField;

// How the modeller flies, for the figures of all four options: the part throttle, the share of a
// flight at full throttle, the share of the capacity drawn and the model's weight without its
// pack, a FlightSettingField each. The bar holds the settings as they were set, which a field may
// show rounded, and tells when they change.
class FlightSettingsBar : public QWidget {
    Q_OBJECT
public:
    // A row `width` px wide at `top` on `parent`; numbers are read and shown with
    // `decimalSeparator`.
    FlightSettingsBar(int top, int width, char decimalSeparator, QWidget* parent);

    const mfb::FlightSettings& settings() const { return settings_; }
    void setSettings(const mfb::FlightSettings& settings);

signals:
    void settingsChanged(const mfb::FlightSettings& settings);

private:
    void store(const mfb::FlightSettings& settings);

    mfb::FlightSettings settings_;
    std::array<FlightSettingField*, 4> fields_{};  // by kFlightSettingRows
};
