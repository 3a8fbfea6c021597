// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

class AutoLabel;
class ChoiceComboBox;
class LineListModel;
class QListView;
class QWidget;

// The top of the main window: the motor and battery lists, the raw parameters of the entries
// chosen last, and the invisible lists holding the catalogue lines as read.
class CatalogueArea {
public:
    explicit CatalogueArea(QWidget* parent);

    ChoiceComboBox* motorList() const { return motorList_; }
    ChoiceComboBox* batteryList() const { return batteryList_; }

    // Fill the line lists and drop-down lists; no entry is chosen afterwards. The line lists show
    // `lines` themselves, which must live as long as the area.
    void showMotors(const std::vector<std::string>& lines);
    void showBatteries(const std::vector<std::string>& lines);
    void showFanLines(const std::vector<std::string>& lines);

    // kv, Ri, Io / capacity, cell resistance, cell voltage, cell weight, as cut from the line.
    void showMotorParameters(const std::array<std::string_view, 3>& texts);
    void showBatteryParameters(const std::array<std::string_view, 4>& texts);

private:
    ChoiceComboBox* motorList_;
    ChoiceComboBox* batteryList_;
    LineListModel* motorLines_;
    LineListModel* batteryLines_;
    LineListModel* fanLines_;
    std::array<AutoLabel*, 7> values_{};  // the motor's three, then the battery's four
};
