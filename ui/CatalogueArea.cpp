// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CatalogueArea.h"

#include <QListView>

#include "catalogue/Choice.h"
#include "ui/AutoLabel.h"
#include "ui/ChoiceComboBox.h"
#include "ui/FormFont.h"
#include "ui/LineListModel.h"

namespace {

struct ParameterRow {
    const char* caption;
    int captionLeft, top;
    const char* text;
    const char* value;
    int valueRight;
    const char* unit;
    int unitX;
    AutoLabel::Anchor unitAnchor;
    const char* unitText;
};

constexpr auto kLeft = AutoLabel::Anchor::Left;
constexpr std::array<ParameterRow, 7> kParameters{{
    {"Label2", 380, 32, "kv:", "Label5", 444, "Label145", 448, kLeft, "n/V"},
    {"Label4", 484, 32, "Ri:", "Label6", 548, "Label146", 552, kLeft, "Ohm"},
    {"Label3", 596, 32, "Io:", "Label7", 660, "Label147", 664, kLeft, "A"},
    {"Label8", 380, 84, "Cap:", "Label10", 460, "Label148", 464, kLeft, "mAh"},
    {"Label9", 508, 84, "Rcell:", "Label11", 592, "Label149", 596, kLeft, "Ohm"},
    {"Label39", 380, 104, "Voltage per cell:", "Label40", 536, "Label150", 540, kLeft, "V"},
    {"Label56", 564, 104, "Weight per cell:", "Label57", 716, "Label151", 730,
     AutoLabel::Anchor::Right, "g"},
}};
constexpr std::size_t kMotorParameters = 3;

LineListModel* LineList(QWidget* parent, const char* name, const QRect& geometry) {
    auto* list = new QListView(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setGeometry(geometry);
    list->hide();
    auto* model = new LineListModel(list);
    list->setModel(model);
    return model;
}

QStringList EntryTexts(const std::vector<std::string>& lines) {
    QStringList entries;
    entries.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) entries.append(QString::fromLatin1(mfb::EntryText(line)));
    return entries;
}

void ShowTexts(AutoLabel* const* labels, const std::string_view* texts, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) labels[i]->setText(QString::fromLatin1(texts[i]));
}

}  // namespace

CatalogueArea::CatalogueArea(QWidget* parent) {
    new AutoLabel("Label1", QStringLiteral("Motor:"), 8, 8, kLeft, FormFont(15, true), parent);
    motorList_ = new ChoiceComboBox("ComboBox1", QStringLiteral("ComboBox1"), parent);
    motorList_->setGeometry(8, 28, 357, 24);
    new AutoLabel("Label144", QStringLiteral("Battery:"), 8, 60, kLeft, FormFont(15, true), parent);
    batteryList_ = new ChoiceComboBox("ComboBox2", QStringLiteral("ComboBox2"), parent);
    batteryList_->setGeometry(8, 84, 357, 24);

    for (std::size_t i = 0; i < kParameters.size(); ++i) {
        const ParameterRow& row = kParameters[i];
        new AutoLabel(row.caption, QString::fromLatin1(row.text), row.captionLeft, row.top, kLeft,
                      FormFont(15), parent);
        values_[i] = new AutoLabel(row.value, QString(), row.valueRight, row.top,
                                   AutoLabel::Anchor::Right, FormFont(13, true), parent);
        new AutoLabel(row.unit, QString::fromLatin1(row.unitText), row.unitX, row.top,
                      row.unitAnchor, FormFont(), parent);
    }

    motorLines_ = LineList(parent, "ListBox1", QRect(12, 628, 97, 53));
    batteryLines_ = LineList(parent, "ListBox2", QRect(12, 628, 97, 53));
    fanLines_ = LineList(parent, "ListBox3", QRect(112, 632, 69, 49));
}

void CatalogueArea::showMotors(const std::vector<std::string>& lines) {
    motorLines_->setLines(&lines);
    motorList_->setEntries(EntryTexts(lines), QStringLiteral("Choose Motor"));
}

void CatalogueArea::showBatteries(const std::vector<std::string>& lines) {
    batteryLines_->setLines(&lines);
    batteryList_->setEntries(EntryTexts(lines), QStringLiteral("Choose Battery"));
}

void CatalogueArea::showFanLines(const std::vector<std::string>& lines) {
    fanLines_->setLines(&lines);
}

void CatalogueArea::showMotorParameters(const std::array<std::string_view, 3>& texts) {
    ShowTexts(values_.data(), texts.data(), texts.size());
}

void CatalogueArea::showBatteryParameters(const std::array<std::string_view, 4>& texts) {
    ShowTexts(values_.data() + kMotorParameters, texts.data(), texts.size());
}
