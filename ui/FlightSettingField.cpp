// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FlightSettingField.h"

#include <QSignalBlocker>
#include <QToolTip>
#include <cmath>
#include <string>

#include "setup/FlightSettingTable.h"

namespace {

// By kFlightSettingRows.
constexpr const char* kTooltips[] = {
    "Part throttle, as a share of the fan rpm at full throttle",
    "The share of a flight's time at full throttle; the rest is at part throttle",
    "The share of the pack's capacity a flight draws",
    "The model's weight without its pack, for the all-up weight and the thrust to weight; empty "
    "where it is not known",
};
static_assert(std::size(kTooltips) == mfb::kFlightSettingRows.size());

// A number as typed: digits with at most one decimal separator, and no sign, exponent or
// grouping, which a modeller could have meant otherwise.
std::optional<double> Number(const QString& text, char separator) {
    QString plain;
    bool seenSeparator = false, seenDigit = false;
    for (const QChar c : text.trimmed()) {
        if (c >= u'0' && c <= u'9') {
            seenDigit = true;
            plain += c;
        } else if (c == QChar::fromLatin1(separator) && !seenSeparator) {
            seenSeparator = true;
            plain += u'.';
        } else {
            return std::nullopt;
        }
    }
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return seenDigit && ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

}  // namespace

FlightSettingField::FlightSettingField(std::size_t row, char decimalSeparator, QWidget* parent)
    : QLineEdit(parent),
      row_(row),
      separator_(decimalSeparator),
      tooltip_(QString::fromLatin1(kTooltips[row])) {
    setAlignment(Qt::AlignRight);
    setToolTip(tooltip_);
    if (mfb::kFlightSettingRows[row_].share == nullptr) {
        setPlaceholderText(QStringLiteral("not known"));
    }
    connect(this, &QLineEdit::textEdited, this, &FlightSettingField::edited);
    connect(this, &QLineEdit::editingFinished, this, &FlightSettingField::showCurrent);
}

void FlightSettingField::showValue(std::optional<double> value) {
    // The value the document gives back for what is being typed.
    if (value == current_) return;
    current_ = value;
    showCurrent();
}

void FlightSettingField::edited(const QString& typed) {
    const mfb::FlightSettingRow& row = mfb::kFlightSettingRows[row_];
    const std::optional<double> number = Number(typed, separator_);
    std::string refusal;
    std::optional<double> value;
    if (row.share == nullptr && typed.trimmed().isEmpty()) {
        value.reset();
    } else if (!number) {
        refusal = mfb::FlightSettingRefusal(row, std::nan("")) + ", written as digits with '" +
                  separator_ + "' for decimals";
    } else {
        value = *number / row.scale;
        refusal = mfb::FlightSettingRefusal(row, *value);
    }
    QPalette palette;
    if (refusal.empty()) {
        setToolTip(tooltip_);
        QToolTip::hideText();
    } else {
        // What was typed on the way here, such as 25000 of 250000, was never meant.
        value = given_;
        palette = this->palette();
        palette.setColor(QPalette::Text, Qt::red);
        setToolTip(QString::fromLatin1(refusal));
        QToolTip::showText(mapToGlobal(QPoint(0, height())), toolTip(), this);
    }
    setPalette(palette);
    current_ = value;
    emit valueEdited(value);
}

void FlightSettingField::showCurrent() {
    given_ = current_;
    const mfb::FlightSettingRow& row = mfb::kFlightSettingRows[row_];
    mfb::FlightSettings settings;
    if (row.share != nullptr) {
        settings.*row.share = current_.value_or(settings.*row.share);
    } else {
        settings.modelWeight = current_;
    }
    // The unit stands beside the field.
    const std::string text = mfb::FlightSettingText(row, settings, separator_);
    const QString shown =
        current_ ? QString::fromLatin1(text.substr(0, text.rfind(' '))) : QString();
    const QSignalBlocker blocker(this);
    if (this->text() != shown) setText(shown);
    setPalette(QPalette());
    setToolTip(tooltip_);
}
