// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <array>
#include <optional>

#include "model/Flight.h"

class QLineEdit;

// How the modeller flies, for the figures of all four options: the part throttle, the share of a
// flight at full throttle, the share of the capacity drawn and the model's weight without its
// pack, one field each (kFlightSettingRows), in percent and grams. A field takes a number in the
// locale's notation within its setting's range; anything else leaves the setting as it was and
// the field says why, until it is left, when it shows the setting again. The bar holds the
// settings as they were set, which a field may show rounded, and tells when they change.
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
    void edited(std::size_t field);
    void showSetting(std::size_t field);
    void store(const mfb::FlightSettings& settings);

    char separator_;
    mfb::FlightSettings settings_;
    std::array<QLineEdit*, 4> fields_{};  // by kFlightSettingRows
    // Each field's setting as it last showed it, which a refused text puts back.
    std::array<std::optional<double>, 4> shownValue_{};
};
