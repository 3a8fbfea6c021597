// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "explore/ExploreSettings.h"
#include "explore/Explorer.h"
#include "model/OptionSlot.h"
#include "ui/ChartExport.h"

class ExploreRunner;
class ExploreTableModel;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTableView;
class QTimer;
class TMainDlg;
struct ExploreOutcome;

// "Find Combinations": the exploration of every combination of the main window's catalogues, with
// the command line's settings as controls, run on a thread of its own beside the windows, its rows
// in a sortable table. A row goes into an option of the main window as the user would put it
// there, and that option is then calculated. A change of the settings runs the search again after
// a short pause when it is estimated to end within a second; a longer one waits for Run. Modeless
// and kept: closing it cancels a run and only hides it.
class TFindDlg : public QWidget {
    Q_OBJECT
public:
    explicit TFindDlg(TMainDlg& main);
    ~TFindDlg() override;

    // Asks where Export CSV… writes; an empty name writes nothing. The save dialog unless
    // replaced.
    void setFilePrompt(FilePrompt prompt) { prompt_ = std::move(prompt); }

    // Whether a run is under way, its worker thread included.
    bool running() const;

    void run();
    void cancel();
    void exportCsv();
    // Puts the table's current row into option 1..4 and calculates it there.
    void useInOption(int option);

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
    void start(const mfb::ExploreRequest& request);
    void settingsChanged();
    void runIfQuick();
    void progressed(long long done, long long total);
    void finished(std::shared_ptr<const ExploreOutcome> outcome);
    // Shows why there are no rows: the old ones belong to other settings or a failed run.
    void fail(const QString& reason);
    void setRunning(bool running);

    TMainDlg& main_;
    ExploreRunner* runner_;
    ExploreTableModel* model_;
    FilePrompt prompt_;
    QElapsedTimer clock_;
    QTimer* pause_;
    bool changedWhileRunning_ = false;

    std::vector<PatternControls> patterns_;
    std::array<QCheckBox*, mfb::kFanCount> fans_{};
    std::vector<std::pair<const mfb::ExploreListField*, QLineEdit*>> lists_;
    std::vector<QLineEdit*> numbers_;
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
