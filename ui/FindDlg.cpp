// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FindDlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <sstream>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/ExploreTable.h"
#include "explore/SpaceText.h"
#include "ui/ExploreRunner.h"
#include "ui/ExploreTableModel.h"
#include "ui/MainDlg.h"
#include "ui/MessageService.h"

namespace {

// The controls come from these tables, one row per field of the request they fill.
struct PatternField {
    const char* name;
    const char* label;
    std::vector<std::string> mfb::Catalogue::*lines;
    std::vector<std::size_t> mfb::ExploreSpace::*chosen;
};
const PatternField kPatternFields[] = {
    {"motor", "Motors", &mfb::Catalogue::MotorLines, &mfb::ExploreSpace::motors},
    {"battery", "Cell types", &mfb::Catalogue::BatteryLines, &mfb::ExploreSpace::batteries},
};

struct CountField {
    const char* name;
    const char* label;
    std::vector<int> mfb::ExploreSpace::*counts;
    const char* form;
};
const CountField kCountFields[] = {
    {"serieList", "Cells in series", &mfb::ExploreSpace::series, "cell counts such as 4,6,8-10"},
    {"parallelList", "Cells in parallel", &mfb::ExploreSpace::parallels,
     "cell counts such as 1,3-5"},
};

// The numbers a search may be given, each optional. A target power ranks by closeness to it.
struct NumberSettings {
    mfb::ExploreRequest& request;
    std::optional<double> target;
};
struct BudgetField {
    const char* name;
    const char* label;
    std::optional<double>& (*value)(NumberSettings& settings);
};
const BudgetField kBudgetFields[] = {
    {"maxCurrent", "Max current (A)",
     [](NumberSettings& s) -> std::optional<double>& { return s.request.filter.maxCurrent; }},
    {"maxWeight", "Max pack weight (g)",
     [](NumberSettings& s) -> std::optional<double>& { return s.request.filter.maxWeight; }},
    {"minEfficiency", "Min efficiency",
     [](NumberSettings& s) -> std::optional<double>& { return s.request.filter.minEfficiency; }},
    {"minPower", "Min shaft power (W)",
     [](NumberSettings& s) -> std::optional<double>& { return s.request.minPower; }},
    {"maxPower", "Max shaft power (W)",
     [](NumberSettings& s) -> std::optional<double>& { return s.request.maxPower; }},
    {"targetPower", "Target power (W)",
     [](NumberSettings& s) -> std::optional<double>& { return s.target; }},
};

// As many rows as the table shows without a pause; a run keeps only these.
constexpr int kMaxRows = 100000;
constexpr int kDefaultRows = 1000;
constexpr int kProgressSteps = 1000;

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// A budget in the locale's notation, as the catalogues are written; empty means no budget.
std::optional<double> ParseBudget(const QString& text, char decimalSeparator, bool* ok) {
    *ok = true;
    std::string s = text.trimmed().toStdString();
    if (s.empty()) return std::nullopt;
    if (decimalSeparator != '.' && s.find('.') != std::string::npos) s.clear();
    std::replace(s.begin(), s.end(), decimalSeparator, '.');
    double value = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    *ok = !s.empty() && ec == std::errc() && ptr == s.data() + s.size() && std::isfinite(value) &&
          value >= 0;
    return value;
}

QString DefaultCounts(const std::vector<int>& counts) {
    return QStringLiteral("%1-%2").arg(counts.front()).arg(counts.back());
}

}  // namespace

TFindDlg::TFindDlg(TMainDlg& main)
    : QWidget(&main, Qt::Window),
      main_(main),
      runner_(new ExploreRunner(this)),
      model_(new ExploreTableModel(this)),
      chooseSaveFile_([](QWidget* parent) {
          return QFileDialog::getSaveFileName(parent, QStringLiteral("Export CSV"), QString(),
                                              QStringLiteral("CSV files (*.csv)"));
      }) {
    setObjectName(QStringLiteral("FindDlg"));
    setWindowTitle(QStringLiteral("Find Combinations"));
    // Only the main window ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildSettings());
    layout->addWidget(buildResults(), 1);
    resize(1180, 640);

    connect(runner_, &ExploreRunner::progressed, this, &TFindDlg::progressed);
    connect(runner_, &ExploreRunner::finished, this, &TFindDlg::finished);
    setRunning(false);
}

TFindDlg::~TFindDlg() = default;

QWidget* TFindDlg::buildSettings() {
    auto* settings = new QWidget(this);
    auto* form = new QFormLayout(settings);
    const mfb::Catalogue& catalogue = main_.catalogue();
    for (std::size_t i = 0; i < std::size(kPatternFields); ++i) {
        const PatternField& field = kPatternFields[i];
        PatternControls controls{new QLineEdit(settings), new QListWidget(settings)};
        controls.pattern->setObjectName(QString::fromLatin1(field.name) +
                                        QStringLiteral("Pattern"));
        controls.pattern->setPlaceholderText(QStringLiteral("all; * and ? match any text"));
        controls.matches->setObjectName(QString::fromLatin1(field.name) +
                                        QStringLiteral("Matches"));
        controls.matches->setMaximumHeight(110);
        form->addRow(QString::fromLatin1(field.label) + u':', controls.pattern);
        form->addRow(controls.matches);
        connect(controls.pattern, &QLineEdit::textChanged, this, [this, i] { showMatches(i); });
        patterns_.push_back(controls);
        showMatches(i);
    }
    auto* fanBox = new QWidget(settings);
    auto* fanColumn = new QVBoxLayout(fanBox);
    fanColumn->setContentsMargins(0, 0, 0, 0);
    for (std::size_t j = 0; j < fans_.size(); ++j) {
        const QString name = Latin1(catalogue.Fans[j].Name).trimmed();
        // An ampersand in a fan name is shown as it is, as on the fan buttons.
        fans_[j] = new QCheckBox(QString(name).replace(u'&', QStringLiteral("&&")), fanBox);
        fans_[j]->setObjectName(QStringLiteral("fan%1").arg(j + 1));
        fans_[j]->setChecked(true);
        fanColumn->addWidget(fans_[j]);
    }
    form->addRow(QStringLiteral("Fans:"), fanBox);
    const mfb::ExploreSpace whole;
    for (const CountField& field : kCountFields) {
        auto* edit = new QLineEdit(DefaultCounts(whole.*field.counts), settings);
        edit->setObjectName(QString::fromLatin1(field.name));
        form->addRow(QString::fromLatin1(field.label) + u':', edit);
        counts_.push_back(edit);
    }
    for (const BudgetField& field : kBudgetFields) {
        auto* edit = new QLineEdit(settings);
        edit->setObjectName(QString::fromLatin1(field.name));
        edit->setPlaceholderText(QStringLiteral("any"));
        form->addRow(QString::fromLatin1(field.label) + u':', edit);
        budgets_.push_back(edit);
    }
    ignoreLimits_ = new QCheckBox(QStringLiteral("Ignore catalogue limits"), settings);
    ignoreLimits_->setObjectName(QStringLiteral("ignoreLimits"));
    form->addRow(QString(), ignoreLimits_);
    sortKey_ = new QComboBox(settings);
    sortKey_->setObjectName(QStringLiteral("sortKey"));
    for (const mfb::ExploreKeyName& key : mfb::ExploreKeyNames())
        sortKey_->addItem(Latin1(key.label));
    form->addRow(QStringLiteral("Rank by:"), sortKey_);
    top_ = new QSpinBox(settings);
    top_->setObjectName(QStringLiteral("top"));
    top_->setRange(1, kMaxRows);
    top_->setValue(kDefaultRows);
    form->addRow(QStringLiteral("Rows kept:"), top_);
    settings->setMaximumWidth(330);
    return settings;
}

QWidget* TFindDlg::buildResults() {
    auto* results = new QWidget(this);
    auto* column = new QVBoxLayout(results);
    column->setContentsMargins(0, 0, 0, 0);

    auto* runRow = new QHBoxLayout;
    run_ = new QPushButton(QStringLiteral("&Run"), results);
    run_->setObjectName(QStringLiteral("runButton"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), results);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    progress_ = new QProgressBar(results);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setRange(0, kProgressSteps);
    progress_->setValue(0);
    timeLeft_ = new QLabel(results);
    timeLeft_->setObjectName(QStringLiteral("timeLeft"));
    timeLeft_->setMinimumWidth(170);
    runRow->addWidget(run_);
    runRow->addWidget(cancel_);
    runRow->addWidget(progress_, 1);
    runRow->addWidget(timeLeft_);
    column->addLayout(runRow);

    table_ = new QTableView(results);
    table_->setObjectName(QStringLiteral("results"));
    table_->setModel(model_);
    table_->setSortingEnabled(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    // Fixed row heights: a view that measured every row would stall on a hundred thousand.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    column->addWidget(table_, 1);

    summary_ = new QLabel(results);
    summary_->setObjectName(QStringLiteral("summary"));
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(summary_);

    auto* useRow = new QHBoxLayout;
    export_ = new QPushButton(QStringLiteral("&Export CSV\u2026"), results);
    export_->setObjectName(QStringLiteral("exportButton"));
    useRow->addWidget(export_);
    useRow->addStretch(1);
    for (int option = 1; option <= mfb::kOptionCount; ++option) {
        auto* use = new QPushButton(QStringLiteral("Use in option %1").arg(option), results);
        use->setObjectName(QStringLiteral("useOption%1").arg(option));
        connect(use, &QPushButton::clicked, this, [this, option] { useInOption(option); });
        useRow->addWidget(use);
        useButtons_[static_cast<std::size_t>(option - 1)] = use;
    }
    column->addLayout(useRow);

    connect(run_, &QPushButton::clicked, this, &TFindDlg::run);
    connect(cancel_, &QPushButton::clicked, this, &TFindDlg::cancel);
    connect(export_, &QPushButton::clicked, this, &TFindDlg::exportCsv);
    // A double click puts the row into the option the main window has selected.
    connect(table_, &QTableView::doubleClicked, this,
            [this] { useInOption(main_.selectedOption()); });
    return results;
}

void TFindDlg::setSaveFileChooser(SaveFileChooser chooser) {
    chooseSaveFile_ = std::move(chooser);
}

bool TFindDlg::running() const {
    return runner_->running();
}

void TFindDlg::showMatches(std::size_t field) {
    const PatternControls& controls = patterns_.at(field);
    const auto& lines = main_.catalogue().*kPatternFields[field].lines;
    const std::string pattern = controls.pattern->text().toLatin1().toStdString();
    controls.matches->clear();
    for (const std::size_t line : mfb::MatchingLines(
             lines, pattern.empty() ? std::nullopt : std::optional<std::string>(pattern))) {
        controls.matches->addItem(Latin1(mfb::EntryText(lines[line])).trimmed());
    }
}

std::optional<mfb::ExploreRequest> TFindDlg::request() {
    mfb::ExploreRequest request;
    request.decimalSeparator = main_.decimalSeparator();
    request.flight = main_.flightSettings();
    const auto refuse = [this](const QString& reason) {
        summary_->setText(reason);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < patterns_.size(); ++i) {
        const PatternField& field = kPatternFields[i];
        const std::string pattern = patterns_[i].pattern->text().toLatin1().toStdString();
        request.space.*field.chosen = mfb::MatchingLines(
            main_.catalogue().*field.lines,
            pattern.empty() ? std::nullopt : std::optional<std::string>(pattern));
        if ((request.space.*field.chosen).empty()) {
            return refuse(QString::fromLatin1(field.label) +
                          QStringLiteral(": nothing to explore"));
        }
    }
    request.space.fans.clear();
    for (std::size_t j = 0; j < fans_.size(); ++j) {
        if (fans_[j]->isChecked()) request.space.fans.push_back(static_cast<int>(j) + 1);
    }
    if (request.space.fans.empty()) return refuse(QStringLiteral("Fans: none chosen"));
    const mfb::ExploreSpace whole;
    for (std::size_t i = 0; i < counts_.size(); ++i) {
        const CountField& field = kCountFields[i];
        try {
            request.space.*field.counts = mfb::ParseCountList(
                counts_[i]->text().trimmed().toStdString(), (whole.*field.counts).front(),
                (whole.*field.counts).back(), field.form);
        } catch (const mfb::CountListError& e) {
            return refuse(QString::fromLatin1(field.label) + u' ' + QString::fromLatin1(e.what()));
        }
    }
    NumberSettings numbers{request, std::nullopt};
    for (std::size_t i = 0; i < budgets_.size(); ++i) {
        bool ok = true;
        kBudgetFields[i].value(numbers) =
            ParseBudget(budgets_[i]->text(), request.decimalSeparator, &ok);
        if (!ok) {
            return refuse(QString::fromLatin1(kBudgetFields[i].label) +
                          QStringLiteral(" needs a number of at least 0, not \"%1\"")
                              .arg(budgets_[i]->text()));
        }
    }
    request.key = mfb::ExploreKeyNames()[static_cast<std::size_t>(sortKey_->currentIndex())].key;
    request.ignoreLimits = ignoreLimits_->isChecked();
    if (request.minPower && request.maxPower && *request.minPower > *request.maxPower) {
        return refuse(QStringLiteral("The shaft power range runs backwards"));
    }
    if (numbers.target) {
        request.key = mfb::ExploreKey::Target;
        request.targetPower = *numbers.target;
    } else if (request.key == mfb::ExploreKey::Target) {
        if (!request.minPower || !request.maxPower) {
            return refuse(QStringLiteral(
                "Closeness to target power needs a target power or a shaft power range"));
        }
        request.targetPower = (*request.minPower + *request.maxPower) / 2;
    }
    request.top = static_cast<std::size_t>(top_->value());
    return request;
}

void TFindDlg::run() {
    if (running()) return;
    const std::optional<mfb::ExploreRequest> wanted = request();
    if (!wanted) return;
    summary_->clear();
    progress_->setValue(0);
    timeLeft_->clear();
    clock_.start();
    runner_->start(main_.catalogue(), *wanted);
    setRunning(true);
}

void TFindDlg::cancel() {
    runner_->cancel();
    cancel_->setEnabled(false);
}

void TFindDlg::progressed(long long done, long long total) {
    if (total <= 0) return;
    progress_->setValue(static_cast<int>(done * kProgressSteps / total));
    if (done > 0 && cancel_->isEnabled()) {
        const double left =
            mfb::TimeLeft(static_cast<double>(clock_.elapsed()) / 1000.0, done, total);
        timeLeft_->setText(QStringLiteral("about %1 s left").arg(std::ceil(left)));
    }
}

void TFindDlg::finished(std::shared_ptr<const ExploreOutcome> outcome) {
    if (!outcome->error.isEmpty()) {
        setRunning(false);
        summary_->setText(ErrorBoxText(outcome->error));
        timeLeft_->clear();
        return;
    }
    const mfb::ExploreResult& result = outcome->result;
    const char separator = main_.decimalSeparator();
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    model_->setRows(outcome->catalogue, result.rows, separator);
    // Measures the first thousand rows only (the header's default precision), however many there
    // are.
    table_->resizeColumnsToContents();
    summary_->setText(Latin1(mfb::ExploreSummary(result, outcome->seconds, separator)));
    if (result.partial) {
        timeLeft_->setText(QStringLiteral("cancelled after %1").arg(result.counts.visited));
    } else {
        progress_->setValue(kProgressSteps);
        timeLeft_->setText(QStringLiteral("done"));
    }
    if (model_->rowCount() > 0) table_->selectRow(0);
    setRunning(false);
}

void TFindDlg::setRunning(bool running) {
    run_->setEnabled(!running);
    cancel_->setEnabled(running);
    const bool rows = !running && model_->rowCount() > 0;
    export_->setEnabled(rows);
    for (QPushButton* use : useButtons_) use->setEnabled(rows);
}

void TFindDlg::exportCsv() {
    const mfb::Catalogue* catalogue = model_->catalogue();
    if (catalogue == nullptr) return;
    const QString path = chooseSaveFile_(this);
    if (path.isEmpty()) return;
    std::ostringstream csv;
    mfb::WriteExploreCsv(*catalogue, model_->rankedRows(), csv);
    QFile file(path);
    const std::string bytes = csv.str();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size())) {
        Messages().warning(QStringLiteral("Export CSV"),
                           QStringLiteral("Cannot write \"%1\". %2").arg(path, file.errorString()));
    }
}

void TFindDlg::useInOption(int option) {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid() || option < 1 || option > mfb::kOptionCount) return;
    const mfb::ExploreRow& row = model_->rowAt(current.row());
    main_.useCombination(option, {row.motor, row.battery, row.fan, row.serie, row.parallel});
}

void TFindDlg::closeEvent(QCloseEvent* event) {
    cancel();
    event->accept();
}
