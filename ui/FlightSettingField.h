// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>
#include <cstddef>
#include <optional>

// One setting of how the model is flown, a row of kFlightSettingRows, as a field in the row's
// unit (percent or grams). It takes a number in the locale's notation within the row's range as
// it is typed; anything else puts back the value the field was given, and the field says why in
// red and in its tooltip until it is left, when it shows the value that holds. An empty weight
// field means the weight is not known.
class FlightSettingField : public QLineEdit {
    Q_OBJECT
public:
    FlightSettingField(std::size_t row, char decimalSeparator, QWidget* parent);

    // The value as stored (a fraction for a share, grams for the weight; none: not known). The
    // value the field stands for already, as the document gives back what is typed, leaves the
    // text as it is.
    void showValue(std::optional<double> value);
    std::optional<double> value() const { return current_; }

signals:
    // What is typed now means `value`, or, refused, the value the field was given.
    void valueEdited(std::optional<double> value);

private:
    void edited(const QString& text);
    void showCurrent();

    std::size_t row_;
    char separator_;
    QString tooltip_;
    std::optional<double> given_;    // shown last, which a refused text puts back
    std::optional<double> current_;  // what the field stands for
};
