// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/OptionColumn.h"

#include <QPushButton>

#include "model/ColumnRows.h"
#include "model/OptionSlot.h"
#include "setup/Setup.h"
#include "ui/AutoLabel.h"
#include "ui/FormFont.h"
#include "ui/MessageService.h"
#include "ui/SpinEdit.h"

namespace {

using mfb::ResultField;

struct ResultRowNames {
    const char* caption;
    const char* value;
    const char* unit;  // nullptr: the row has no unit
    int valueRight;
    int valuePixels;
};

// Object names and the places that do not follow the 232 px pitch. The numbering of the labels
// is irregular, so each column lists its own.
struct ColumnTable {
    int offset;  // added to column 1's lefts
    const char *fanCaption, *fan, *motorCaption, *motor, *batteryCaption, *battery;
    const char *cellsCaption, *serieCaption, *serie, *parallelCaption, *parallel;
    const char *calculate, *chart;
    int unitLeft;
    std::array<ResultRowNames, mfb::kResultFieldCount> rows;  // in mfb::kColumnRows order
};

// clang-format off
constexpr std::array<ColumnTable, mfb::kOptionCount> kColumns{{
    {  0, "Label12", "Label96", "Label100", "Label104", "Label13", "Label108",
         "Label14", "Label15", "SpinEdit1", "Label16", "SpinEdit2",
         "Button1", "Button6", 156,
     {{{"Label24", "Label112", "Label31", 154, 13},
       {"Label17", "Label116", "Label25", 156, 15},
       {"Label154", "Label156", "Label155", 155, 13},
       {"Label18", "Label120", "Label26", 156, 15},
       {"Label19", "Label124", "Label27", 155, 15},
       {"Label20", "Label128", "Label28", 155, 15},
       {"Label21", "Label132", "Label29", 155, 15},
       {"Label22", "Label136", "Label30", 155, 15},
       {"Label23", "Label140", nullptr, 155, 15}}}},
    {232, "Label32", "Label97", "Label101", "Label105", "Label33", "Label109",
         "Label34", "Label35", "SpinEdit3", "Label36", "SpinEdit4",
         "Button2", "Button7", 388,
     {{{"Label46", "Label113", "Label53", 386, 13},
       {"Label152", "Label157", "Label153", 386, 13},
       {"Label37", "Label117", "Label47", 388, 15},
       {"Label38", "Label121", "Label48", 388, 15},
       {"Label41", "Label125", "Label49", 387, 15},
       {"Label42", "Label129", "Label50", 387, 15},
       {"Label43", "Label133", "Label51", 387, 15},
       {"Label44", "Label137", "Label52", 387, 15},
       {"Label45", "Label141", nullptr, 387, 15}}}},
    {464, "Label54", "Label98", "Label102", "Label106", "Label55", "Label110",
         "Label58", "Label59", "SpinEdit5", "Label60", "SpinEdit6",
         "Button3", "Button8", 620,
     {{{"Label68", "Label114", "Label75", 618, 13},
       {"Label158", "Label160", "Label159", 619, 13},
       {"Label61", "Label118", "Label69", 620, 15},
       {"Label62", "Label122", "Label70", 620, 15},
       {"Label63", "Label126", "Label71", 619, 15},
       {"Label64", "Label130", "Label72", 619, 15},
       {"Label65", "Label134", "Label73", 619, 15},
       {"Label66", "Label138", "Label74", 619, 15},
       {"Label67", "Label142", nullptr, 619, 15}}}},
    {696, "Label76", "Label99", "Label103", "Label107", "Label77", "Label111",
         "Label78", "Label79", "SpinEdit7", "Label80", "SpinEdit8",
         "Button4", "Button9", 844,
     {{{"Label88", "Label115", "Label95", 843, 13},
       {"Label161", "Label163", "Label162", 843, 13},
       {"Label81", "Label119", "Label89", 844, 15},
       {"Label82", "Label123", "Label90", 844, 15},
       {"Label83", "Label127", "Label91", 843, 15},
       {"Label84", "Label131", "Label92", 843, 15},
       {"Label85", "Label135", "Label93", 843, 15},
       {"Label86", "Label139", "Label94", 843, 15},
       {"Label87", "Label143", nullptr, 843, 15}}}},
}};
// clang-format on

// Column 1's geometry; the other columns add their offset.
constexpr int kCaptionLeft = 20, kNameLeft = 68, kCellsLeft = 36, kCountCaptionLeft = 52;
constexpr int kSpinLeft = 116, kCalculateLeft = 44, kChartLeft = 128;
constexpr int kFanTop = 192, kMotorTop = 216, kBatteryTop = 240, kCellsTop = 264;
constexpr int kSerieTop = 288, kParallelTop = 312, kFirstResultTop = 340, kResultPitch = 24;
constexpr int kButtonTop = 564;

AutoLabel* CaptionLabel(QWidget* parent, const char* name, const QString& text, int left, int top) {
    return new AutoLabel(name, text, left, top, AutoLabel::Anchor::Left, FormFont(), parent);
}

AutoLabel* NameLabel(QWidget* parent, const char* name, int left, int top) {
    return new AutoLabel(name, QString(), left, top, AutoLabel::Anchor::Left, FormFont(15, true),
                         parent);
}

SpinEdit* CountEdit(QWidget* parent, const char* name, int minimum, int maximum, int initial,
                    int left, int top) {
    auto* edit = new SpinEdit(minimum, maximum, initial, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setFont(FormFont(11));
    edit->setGeometry(left, top, 41, 22);
    return edit;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, kButtonTop, 75, 25);
    return button;
}

}  // namespace

OptionColumn::OptionColumn(int option, QWidget* parent) {
    const ColumnTable& c = kColumns.at(static_cast<std::size_t>(option - 1));
    const int x = c.offset;

    CaptionLabel(parent, c.fanCaption, QStringLiteral("Fan:"), x + kCaptionLeft, kFanTop);
    fan_ = NameLabel(parent, c.fan, x + kNameLeft, kFanTop);
    CaptionLabel(parent, c.motorCaption, QStringLiteral("Motor:"), x + kCaptionLeft, kMotorTop);
    motor_ = NameLabel(parent, c.motor, x + kNameLeft, kMotorTop);
    CaptionLabel(parent, c.batteryCaption, QStringLiteral("Battery:"), x + kCaptionLeft,
                 kBatteryTop);
    battery_ = NameLabel(parent, c.battery, x + kNameLeft, kBatteryTop);

    CaptionLabel(parent, c.cellsCaption, QStringLiteral("Number of cells:"), x + kCellsLeft,
                 kCellsTop);
    CaptionLabel(parent, c.serieCaption, QStringLiteral("Serie:"), x + kCountCaptionLeft,
                 kSerieTop);
    serie_ = CountEdit(parent, c.serie, mfb::kMinSerie, mfb::kMaxSerie, mfb::kInitialSerie,
                       x + kSpinLeft, kSerieTop);
    CaptionLabel(parent, c.parallelCaption, QStringLiteral("Parallel:"), x + kCountCaptionLeft,
                 kParallelTop);
    parallel_ = CountEdit(parent, c.parallel, mfb::kMinParallel, mfb::kMaxParallel,
                          mfb::kInitialParallel, x + kSpinLeft, kParallelTop);

    for (std::size_t row = 0; row < c.rows.size(); ++row) {
        const ResultRowNames& r = c.rows[row];
        const int top = kFirstResultTop + static_cast<int>(row) * kResultPitch;
        const ResultField field = mfb::kColumnRows[row].field;
        CaptionLabel(parent, r.caption, QString::fromLatin1(mfb::Caption(field)) + u':',
                     x + kCaptionLeft, top);
        values_[static_cast<std::size_t>(field)] =
            new AutoLabel(r.value, QString(), r.valueRight, top, AutoLabel::Anchor::Right,
                          FormFont(r.valuePixels, true), parent);
        if (r.unit != nullptr) {
            const std::string_view unit = mfb::kColumnRows[row].unit;
            CaptionLabel(parent, r.unit, QString::fromLatin1(unit.data(), unit.size()), c.unitLeft,
                         top);
        }
    }

    calculate_ = Button(parent, c.calculate, QStringLiteral("Calculate"), x + kCalculateLeft);
    chart_ = Button(parent, c.chart, QStringLiteral("Chart"), x + kChartLeft);
    chart_->setEnabled(false);
}

void OptionColumn::showNames(const mfb::TOptionSlot& slot) {
    fan_->setText(QString::fromLatin1(slot.FanName));
    motor_->setText(QString::fromLatin1(slot.MotorName));
    battery_->setText(QString::fromLatin1(slot.BatteryName));
}

void OptionColumn::showNotes(const std::array<mfb::FieldNote, mfb::kResultFieldCount>& notes) {
    notes_ = notes;
    showMarks();
}

void OptionColumn::showChoice(const QString& chosen) {
    chosen_ = chosen;
    showMarks();
}

void OptionColumn::showMarks() {
    for (std::size_t field = 0; field < values_.size(); ++field) {
        AutoLabel* label = values_[field];
        const bool earlier = !belongsTo_[field].isEmpty() && belongsTo_[field] != chosen_;
        QPalette palette;  // one that sets nothing hands the label back to the window's
        if (earlier) {
            palette = label->palette();
            palette.setColor(QPalette::WindowText,
                             palette.color(QPalette::Disabled, QPalette::WindowText));
            label->setToolTip(QStringLiteral("Calculated for ") + belongsTo_[field]);
        } else {
            if (notes_[field].exceeded) {
                palette = label->palette();
                palette.setColor(QPalette::WindowText, Qt::red);
            }
            label->setToolTip(QString::fromLatin1(notes_[field].text));
        }
        label->setPalette(palette);
    }
}

void OptionColumn::clearResults() {
    for (AutoLabel* label : values_) label->setText(QString());
    belongsTo_ = {};
    showNotes({});
    chart_->setEnabled(false);
    showSweepEnded();
}

void OptionColumn::beginCalculate(const QString& combination) {
    calculating_ = combination;
}

void OptionColumn::showKeptValues(const std::array<std::string, mfb::kResultFieldCount>& values,
                                  const QString& combination) {
    for (std::size_t field = 0; field < values.size(); ++field) {
        values_[field]->setText(QString::fromLatin1(values[field]));
        belongsTo_[field] = values[field].empty() ? QString() : combination;
    }
    showMarks();
}

void OptionColumn::showSweepProgress(double inputPower) {
    // "Stop 812 W" or "Stop 95 kW": short enough for the 75 px button at any power below the limit.
    const QString power = inputPower < 10000
                              ? QStringLiteral("%1 W").arg(static_cast<qint64>(inputPower))
                              : QStringLiteral("%1 kW").arg(static_cast<qint64>(inputPower / 1000));
    calculate_->setText(QStringLiteral("Stop ") + power);
    calculate_->setToolTip(QStringLiteral("Input power the sweep has reached; click to stop it"));
}

void OptionColumn::showSweepEnded() {
    calculate_->setText(QStringLiteral("Calculate"));
    calculate_->setToolTip(QString());
}

void OptionColumn::ShowValue(ResultField field, const std::string& text) {
    const auto index = static_cast<std::size_t>(field);
    values_.at(index)->setText(QString::fromLatin1(text));
    belongsTo_[index] = calculating_;
}

void OptionColumn::EnableChart() {
    chart_->setEnabled(true);
}

void OptionColumn::ShowWarning(const std::string& message) {
    Messages().warning(QStringLiteral("Warning"), QString::fromLatin1(message));
}
