// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FlightSettingsBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QToolTip>
#include <cmath>
#include <optional>

#include "setup/FlightSettingTable.h"
#include "ui/FormFont.h"

namespace {

struct FieldDesign {
    const char* name;
    int captionLeft, fieldLeft, fieldWidth;
    const char* tooltip;
};

// By kFlightSettingRows.
constexpr std::array<FieldDesign, 4> kFields{{
    {"PartThrottle", 20, 104, 50, "Part throttle, as a share of the fan rpm at full throttle"},
    {"FullThrottleShare", 196, 326, 50,
     "The share of a flight's time at full throttle; the rest is at part throttle"},
    {"UsableCapacity", 414, 506, 50, "The share of the pack's capacity a flight draws"},
    {"ModelWeight", 596, 720, 86,
     "The model's weight without its pack, for the all-up weight and the thrust to weight; "
     "empty where it is not known"},
}};
static_assert(kFields.size() == mfb::kFlightSettingRows.size());

constexpr int kUnitGap = 4;

// A number as typed: digits with at most one decimal separator, no sign, exponent or grouping,
// which a modeller could mean otherwise.
std::optional<double> Number(const QString& text, char separator) {
    const QString trimmed = text.trimmed();
    bool seenSeparator = false, seenDigit = false;
    QString plain;
    for (const QChar c : trimmed) {
        if (c.isDigit() && c.unicode() < 128) {
            seenDigit = true;
            plain += c;
        } else if (c == QChar::fromLatin1(separator) && !seenSeparator) {
            seenSeparator = true;
            plain += u'.';
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) return std::nullopt;
    bool ok = false;
    const double value = plain.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

bool Same(const mfb::FlightSettings& a, const mfb::FlightSettings& b) {
    return a.throttle == b.throttle && a.fullShare == b.fullShare && a.usable == b.usable &&
           a.modelWeight == b.modelWeight;
}

QString Text(const std::string& text) {
    return QString::fromLatin1(text);
}

}  // namespace

FlightSettingsBar::FlightSettingsBar(int top, int width, char decimalSeparator, QWidget* parent)
    : QWidget(parent), separator_(decimalSeparator) {
    setObjectName(QStringLiteral("FlightSettings"));
    setGeometry(0, top, width, 24);
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        const FieldDesign& d = kFields[i];
        const mfb::FlightSettingRow& row = mfb::kFlightSettingRows[i];
        auto* caption =
            new QLabel(QString::fromLatin1(row.label.data(), row.label.size()) + u':', this);
        caption->setFont(FormFont());
        caption->move(d.captionLeft, 4);
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(d.name));
        field->setGeometry(d.fieldLeft, 0, d.fieldWidth, 22);
        field->setAlignment(Qt::AlignRight);
        caption->setBuddy(field);
        auto* unit = new QLabel(QString::fromLatin1(row.unit.data(), row.unit.size()), this);
        unit->setFont(FormFont());
        unit->move(d.fieldLeft + d.fieldWidth + kUnitGap, 4);
        fields_[i] = field;
        connect(field, &QLineEdit::textEdited, this, [this, i] { edited(i); });
        connect(field, &QLineEdit::editingFinished, this, [this, i] { showSetting(i); });
    }
    fields_[3]->setPlaceholderText(QStringLiteral("not known"));
    for (std::size_t i = 0; i < fields_.size(); ++i) showSetting(i);
}

void FlightSettingsBar::setSettings(const mfb::FlightSettings& settings) {
    // What the bar itself set comes back from the document: a field being typed in stays as typed.
    if (Same(settings, settings_)) return;
    store(settings);
    for (std::size_t i = 0; i < fields_.size(); ++i) showSetting(i);
}

// A field changes only its own setting, so that the others keep the exact values a setup gave
// them, whatever their fields round them to. A text it refuses puts back the setting the field
// showed before it was edited.
void FlightSettingsBar::edited(std::size_t i) {
    const mfb::FlightSettingRow& row = mfb::kFlightSettingRows[i];
    QLineEdit* field = fields_[i];
    const QString typed = field->text();
    const bool unknownWeight = row.share == nullptr && typed.trimmed().isEmpty();
    const std::optional<double> number = Number(typed, separator_);
    std::string refusal;
    if (!unknownWeight) {
        refusal = number ? mfb::FlightSettingRefusal(row, *number / row.scale)
                         : mfb::FlightSettingRefusal(row, std::nan(""));
        if (!number)
            refusal += std::string(", written as digits with '") + separator_ + "' for decimals";
    }
    QPalette palette;
    std::optional<double> value =
        unknownWeight || !number ? std::nullopt : std::optional(*number / row.scale);
    if (!refusal.empty()) {
        palette = field->palette();
        palette.setColor(QPalette::Text, Qt::red);
        field->setToolTip(Text(refusal));
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), Text(refusal), field);
        // What was typed on the way here, such as 25000 of 250000, was never meant.
        value = shownValue_[i];
    } else {
        field->setToolTip(QString::fromLatin1(kFields[i].tooltip));
        QToolTip::hideText();
    }
    mfb::FlightSettings changed = settings_;
    if (row.share != nullptr) {
        changed.*row.share = value.value_or(settings_.*row.share);
    } else {
        changed.modelWeight = value;
    }
    store(changed);
    field->setPalette(palette);
}

void FlightSettingsBar::showSetting(std::size_t i) {
    const mfb::FlightSettingRow& row = mfb::kFlightSettingRows[i];
    QLineEdit* field = fields_[i];
    const std::string text = mfb::FlightSettingText(row, settings_, separator_);
    // The unit stands beside the field.
    const bool known = row.share != nullptr || settings_.modelWeight.has_value();
    const QString shown =
        known ? Text(text.substr(0, text.size() - row.unit.size() - 1)) : QString();
    shownValue_[i] =
        row.share != nullptr ? std::optional(settings_.*row.share) : settings_.modelWeight;
    const QSignalBlocker blocker(field);
    if (field->text() != shown) field->setText(shown);
    field->setPalette(QPalette());
    field->setToolTip(QString::fromLatin1(kFields[i].tooltip));
}

void FlightSettingsBar::store(const mfb::FlightSettings& settings) {
    if (Same(settings, settings_)) return;
    settings_ = settings;
    emit settingsChanged(settings_);
}
