// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "catalogue/Catalogue.h"
#include "explore/ExploreSettings.h"
#include "explore/Explorer.h"
#include "model/OptionSlot.h"
#include "ui/ChartExport.h"

class ExploreRunner;
class ExploreTableModel;
class FlightSettingField;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QScrollArea;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;
class SetupDocument;
struct ExploreOutcome;

// "Find Combinations": the exploration of every combination of the main window's catalogues, with
// the command line's settings as controls, run on a thread of its own beside the windows, its rows
// in a sortable table. "Use in option k" asks the setup document to put a row into option k, which
// the main window then shows and calculates. A change of the settings runs the search again after
// a short pause when it is estimated to end within a second; a longer one waits for Run. Modeless
// and kept: closing it cancels a run and only hides it.
class TFindDlg : public QWidget {
    Q_OBJECT
public:
    // Explores `catalogue`, reading its lines with `decimalSeparator`, for the flight the
    // document's model weight and flight settings describe; its rows follow them as they change.
    // The catalogue and the document outlive the window.
    TFindDlg(const mfb::Catalogue& catalogue, char decimalSeparator, SetupDocument& document,
             QWidget* parent);
    ~TFindDlg() override;

    // Asks where Export CSV… writes; an empty name writes nothing. The save dialog unless
    // replaced.
    void setFilePrompt(FilePrompt prompt) { prompt_ = std::move(prompt); }

    // Whether a run is under way, its worker thread included.
    bool running() const;

    void run();
    void cancel();
    void exportCsv();
    // Asks for the table's current row in option 1..4 (0: the option selected in the main window)
    // and its Calculate there.
    void useInOption(int option);
    // The catalogue was read again: the fans and matches show it, and the rows are of the old one.
    void catalogueChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct PatternControls {
        QLineEdit* pattern;
        QListWidget* matches;
    };

    QWidget* buildSettings();
    QWidget* buildResults();
    void showMatches(std::size_t field);
    // The request the controls describe, or nullopt with the reason shown and the rows cleared.
    std::optional<mfb::ExploreRequest> request();
    // One box per fan of the catalogue, those on the fan buttons first; a fan keeps its box's
    // state by number, and a new fan starts checked where it stands on a button.
    void showFans();
    void start(const mfb::ExploreRequest& request);
    void settingsChanged();
    // Rows of settings other than those shown are greyed until a run replaces them.
    void showRowsStale(bool stale);
    // The ranking that answers a modeller's question for the flight now, until one is chosen.
    void followDefaultRanking();
    mfb::FlightSettings flight() const;
    void runIfQuick();
    void progressed(long long done, long long total);
    void finished(std::shared_ptr<const ExploreOutcome> outcome);
    // Shows why there are no rows: the old ones belong to other settings or a failed run.
    void fail(const QString& reason);
    void setRunning(bool running);

    const mfb::Catalogue& catalogue_;
    char decimalSeparator_;
    SetupDocument& document_;
    bool rankingChosen_ = false;
    ExploreRunner* runner_;
    ExploreTableModel* model_;
    FilePrompt prompt_;
    QElapsedTimer clock_;
    QTimer* pause_;
    bool changedWhileRunning_ = false;
    // Counts the catalogues read again; a run's rows belong to the count it started at.
    int catalogueGeneration_ = 0;
    int runGeneration_ = 0;

    std::vector<PatternControls> patterns_;
    QScrollArea* fanScroll_ = nullptr;
    QWidget* fanBox_ = nullptr;
    std::vector<std::pair<int, QCheckBox*>> fans_;  // by fan number
    std::vector<std::pair<const mfb::ExploreListField*, QLineEdit*>> lists_;
    std::vector<QLineEdit*> numbers_;
    FlightSettingField* modelWeight_ = nullptr;
    QCheckBox* ignoreLimits_ = nullptr;
    QCheckBox* pareto_ = nullptr;
    QComboBox* sortKey_;
    QSpinBox* top_;
    QPushButton* run_;
    QPushButton* cancel_;
    QPushButton* export_;
    std::array<QPushButton*, mfb::kOptionCount> useButtons_{};
    QProgressBar* progress_;
    QLabel* timeLeft_;
    QLabel* summary_;
    QTableView* table_;
};
