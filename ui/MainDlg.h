// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/Combination.h"
#include "model/Derived.h"
#include "model/OptionSlot.h"
#include "model/PartLoad.h"
#include "model/Sweep.h"
#include "setup/Setup.h"

class CatalogueArea;
class ColumnFrames;
class ComparisonActions;
class PartLoadDlg;
class FlightSettingsBar;
class OptionCharts;
class OptionColumn;
class OptionController;
class QRadioButton;
class SetupDocument;
class SetupFileMenu;
class TAboutDlg;
class TFindDlg;
class TGraphDlg;
namespace mfb {
struct Assessment;
struct CalculateReport;
struct FlightSettings;
}  // namespace mfb

// The main window: the catalogue area, the fan and option groups and the four options, each run by
// an OptionController. It owns the catalogues, the four option slots and the setup document for
// the whole run, lays the window out and wires it: its handlers hand the user's choices to the
// core and to the document; a setup the document is given (New, Open) is shown as if the user had
// chosen it. An error escaping a handler ends it where it failed.
class TMainDlg : public QMainWindow, private mfb::LoadObserver {
    Q_OBJECT
public:
    // Loads the catalogues from the working directory.
    explicit TMainDlg(QWidget* parent = nullptr);
    // Loads them through `platform`. A loading error is shown in the error box and the window
    // comes up with what was loaded before it.
    explicit TMainDlg(mfb::CataloguePlatform platform, QWidget* parent = nullptr);
    ~TMainDlg() override;

    const mfb::TOptionSlot& slot(int option) const;  // option 1..4
    const mfb::Catalogue& catalogue() const { return catalogue_; }
    // The option whose button is checked, 1..4.
    int selectedOption() const;
    char decimalSeparator() const { return platform_.decimalSeparator; }
    // How the modeller flies, shared by the four options and the Find window: the document's.
    mfb::FlightSettings flightSettings() const;

    // What the four options have chosen and showed, and the setup file it belongs to.
    SetupDocument& setupDocument() const { return *document_; }
    SetupFileMenu& setupFiles() const { return *files_; }
    // The File menu's comparison sheet and chart.
    ComparisonActions& comparison() const { return *comparison_; }

    // Puts a combination into option k (1..4) as a user does, through the handlers of the option
    // button, the two lists, the fan buttons and the cell-count boxes, then clicks the option's
    // Calculate. A sweep still running in the option is stopped first.
    void useCombination(int option, const mfb::Combination& combination);
    // Whether option's Calculate is still sweeping (see SweepTask).
    bool calculating(int option) const;

    // The windows start-up makes beside this one, handed over; null (as when the window is tested
    // on its own) leaves the chart part of a sweep and the About box out.
    void setChartWindows(const std::array<TGraphDlg*, mfb::kOptionCount>& charts);
    TGraphDlg* chartWindow(int option) const;
    void setAboutBox(TAboutDlg* about) { about_ = about; }
    TAboutDlg* aboutBox() const { return about_; }

    void FormCreate();
    void ComboBox1Click();
    void ComboBox2Click();
    void RadioButton1Click() { fanChosen(1); }
    void RadioButton2Click() { fanChosen(2); }
    void RadioButton7Click() { fanChosen(3); }
    void RadioButton8Click() { fanChosen(4); }
    void RadioButton9Click() { fanChosen(5); }
    void RadioButton3Click() { optionSelected(1); }
    void RadioButton4Click() { optionSelected(2); }
    void RadioButton5Click() { optionSelected(3); }
    void RadioButton6Click() { optionSelected(4); }
    void Button1Click() { calculate(1); }
    void Button2Click() { calculate(2); }
    void Button3Click() { calculate(3); }
    void Button4Click() { calculate(4); }
    void Button5Click();
    void Button6Click() { showChart(1); }
    void Button7Click() { showChart(2); }
    void Button8Click() { showChart(3); }
    void Button9Click() { showChart(4); }
    void About1Click();
    void Find1Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The figures of each calculated option again, for changed flight settings.
    void showFlightFigures();
    void MotorsRead(const mfb::Catalogue& catalogue) override;
    void BatteriesRead(const mfb::Catalogue& catalogue) override;
    void FansRead(const mfb::Catalogue& catalogue) override;

    void buildMenu();
    void arrangeTabOrder();
    // Hands the slot of the selected option to `choose`, then shows its names and lets `record`
    // tell the setup what was chosen, even when `choose` failed half way.
    void chooseIntoSelected(const std::function<void(mfb::TOptionSlot&)>& choose,
                            const std::function<void(int option)>& record);

    // Shows the document's setup in every option, recalculating those it showed calculated.
    void showSetup();
    void showTitle();
    void fanChosen(int fan);
    void optionSelected(int option);
    void calculate(int option);
    void showChart(int option);
    OptionController& controller(int option) const;
    // The part-load table of the option's last shown Calculate, in a dialog or as rows.
    void showPartLoad(int option);
    std::vector<mfb::PartLoadRow> partLoad(int option, double step) const;
    OptionColumn& column(int option) const;

    mfb::CataloguePlatform platform_;
    mfb::Catalogue catalogue_;
    std::array<mfb::TOptionSlot, mfb::kOptionCount> slots_{};

    ColumnFrames* frames_;
    std::unique_ptr<CatalogueArea> catalogueArea_;
    std::array<QRadioButton*, mfb::kFanCount> fanButtons_{};
    std::array<QRadioButton*, mfb::kOptionCount> optionButtons_{};
    std::array<OptionController*, mfb::kOptionCount> options_{};  // children
    SetupDocument* document_;
    std::unique_ptr<OptionCharts> charts_;  // the options' chart windows, for the comparison
    TAboutDlg* about_ = nullptr;
    SetupFileMenu* files_ = nullptr;
    ComparisonActions* comparison_ = nullptr;
    // While a setup is being shown, the widgets it sets must not write back into it.
    bool showingSetup_ = false;
    TFindDlg* find_ = nullptr;  // made on first use, then kept
    FlightSettingsBar* flightBar_;
    PartLoadDlg* partLoad_ = nullptr;  // made on first use, then kept
};
