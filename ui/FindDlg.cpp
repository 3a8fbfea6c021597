// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FindDlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>

#include "catalogue/Catalogue.h"
#include "catalogue/Choice.h"
#include "explore/ExploreTable.h"
#include "explore/SpaceText.h"
#include "setup/FlightSettingTable.h"
#include "ui/ExploreRunner.h"
#include "ui/ExploreTableModel.h"
#include "ui/FlightSettingField.h"
#include "ui/Latin1Text.h"
#include "ui/MessageService.h"
#include "ui/SetupDocument.h"

namespace {

constexpr int kDefaultRows = 1000;
constexpr int kProgressSteps = 1000;

// A pause in typing long enough to be one: a search started on every key would mostly be cancelled.
constexpr int kPauseMs = 400;
// A search estimated to end within this starts of itself after a change of the settings.
constexpr double kQuickSeconds = 1.0;
// The estimate itself may take this long, while the window waits.
constexpr double kEstimateBudget = 0.05;

std::optional<std::string> Pattern(const QLineEdit* edit) {
    const std::string pattern = edit->text().toLatin1().toStdString();
    return pattern.empty() ? std::nullopt : std::optional<std::string>(pattern);
}

int KeyIndex(mfb::ExploreKey key) {
    const auto keys = mfb::ExploreKeyNames();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (keys[i].key == key) return static_cast<int>(i);
    }
    return 0;
}

QString DefaultCounts(const std::vector<int>& counts) {
    return QStringLiteral("%1-%2").arg(counts.front()).arg(counts.back());
}

}  // namespace

TFindDlg::TFindDlg(const mfb::Catalogue& catalogue, char decimalSeparator, SetupDocument& document,
                   QWidget* parent)
    : QWidget(parent, Qt::Window),
      catalogue_(catalogue),
      decimalSeparator_(decimalSeparator),
      document_(document),
      runner_(new ExploreRunner(this)),
      model_(new ExploreTableModel(this)),
      prompt_(SaveFileDialog(this)),
      pause_(new QTimer(this)) {
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
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
    connect(pause_, &QTimer::timeout, this, &TFindDlg::runIfQuick);
    // The rows answer for the flight the main window describes, as typing here does.
    const auto followFlight = [this] {
        modelWeight_->showValue(flight().modelWeight);
        followDefaultRanking();
        settingsChanged();
    };
    connect(&document_, &SetupDocument::figuresChanged, this, followFlight);
    connect(&document_, &SetupDocument::replaced, this, followFlight);
    setRunning(false);
}

TFindDlg::~TFindDlg() = default;

QWidget* TFindDlg::buildSettings() {
    auto* settings = new QWidget(this);
    auto* form = new QFormLayout(settings);
    const auto changes = [this](auto* control, auto signal) {
        connect(control, signal, this, &TFindDlg::settingsChanged);
    };
    const auto patternFields = mfb::ExplorePatternFields();
    for (std::size_t i = 0; i < patternFields.size(); ++i) {
        const mfb::ExplorePatternField& field = patternFields[i];
        PatternControls controls{new QLineEdit(settings), new QListWidget(settings)};
        controls.pattern->setObjectName(Latin1(field.noun) + QStringLiteral("Pattern"));
        controls.pattern->setPlaceholderText(QStringLiteral("all; * and ? match any text"));
        controls.matches->setObjectName(Latin1(field.noun) + QStringLiteral("Matches"));
        controls.matches->setMaximumHeight(110);
        form->addRow(Latin1(field.name.label) + u':', controls.pattern);
        form->addRow(controls.matches);
        connect(controls.pattern, &QLineEdit::textChanged, this, [this, i] { showMatches(i); });
        changes(controls.pattern, &QLineEdit::textChanged);
        patterns_.push_back(controls);
        showMatches(i);
    }
    // A library may hold hundreds of fans: they scroll below the five of the buttons.
    fanScroll_ = new QScrollArea(settings);
    fanScroll_->setObjectName(QStringLiteral("fanChoice"));
    fanScroll_->setWidgetResizable(true);
    fanScroll_->setFrameShape(QFrame::NoFrame);
    fanScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fanBox_ = new QWidget(fanScroll_);
    auto* fanColumn = new QVBoxLayout(fanBox_);
    fanColumn->setContentsMargins(0, 0, 0, 0);
    fanScroll_->setWidget(fanBox_);
    showFans();
    form->addRow(QStringLiteral("Fans:"), fanScroll_);
    const mfb::ExploreSpace whole;
    for (const mfb::ExploreListField& field : mfb::ExploreListFields()) {
        // The fans are chosen by name above.
        if (field.counts == &mfb::ExploreSpace::fans) continue;
        auto* edit = new QLineEdit(DefaultCounts(whole.*field.counts), settings);
        edit->setObjectName(Latin1(field.key));
        form->addRow(Latin1(field.name.label) + u':', edit);
        changes(edit, &QLineEdit::textChanged);
        lists_.emplace_back(&field, edit);
    }
    for (const mfb::ExploreNumberField& field : mfb::ExploreNumberFields()) {
        auto* edit = new QLineEdit(settings);
        edit->setObjectName(Latin1(field.key));
        edit->setPlaceholderText(QStringLiteral("any"));
        form->addRow(Latin1(field.name.label) + u':', edit);
        changes(edit, &QLineEdit::textChanged);
        numbers_.push_back(edit);
        if (field.key != "targetPower" && field.key != "targetThrust") continue;
        // A target ranks by closeness to it and by nothing else: setting one shows that ranking.
        const mfb::ExploreKey closeness =
            field.key == "targetPower" ? mfb::ExploreKey::Target : mfb::ExploreKey::TargetThrust;
        connect(edit, &QLineEdit::textChanged, this, [this, closeness](const QString& text) {
            if (text.trimmed().isEmpty()) return;
            sortKey_->setCurrentIndex(KeyIndex(closeness));
            rankingChosen_ = true;
        });
    }
    // The main window's model weight, shown here too: this window stands over its field.
    const mfb::FlightSettingRow& weight = mfb::kFlightSettingRows[mfb::kModelWeightRow];
    modelWeight_ = new FlightSettingField(mfb::kModelWeightRow, decimalSeparator_, settings);
    modelWeight_->setObjectName(QStringLiteral("modelWeight"));
    modelWeight_->showValue(flight().modelWeight);
    form->addRow(Latin1(std::string(weight.label) + " (" + std::string(weight.unit) + "):"),
                 modelWeight_);
    connect(modelWeight_, &FlightSettingField::valueEdited, this,
            [this](std::optional<double> grams) {
                mfb::SetupFigures figures = document_.setup().figures;
                figures.modelWeight = grams;
                document_.setFigures(figures);
            });
    ignoreLimits_ = new QCheckBox(QStringLiteral("Ignore catalogue limits"), settings);
    ignoreLimits_->setObjectName(QStringLiteral("ignoreLimits"));
    changes(ignoreLimits_, &QCheckBox::toggled);
    form->addRow(QString(), ignoreLimits_);
    pareto_ = new QCheckBox(QStringLiteral("Only the trade-off front"), settings);
    pareto_->setObjectName(QStringLiteral("pareto"));
    pareto_->setToolTip(QStringLiteral(
        "With the model's weight and jet data: the combinations no other beats on thrust to weight "
        "and flight time at once, none below a thrust to weight of 1 unless a budget sets the "
        "least. Otherwise: on thrust (or shaft power), weight and flight time, sorted by the "
        "first"));
    changes(pareto_, &QCheckBox::toggled);
    form->addRow(QString(), pareto_);
    sortKey_ = new QComboBox(settings);
    sortKey_->setObjectName(QStringLiteral("sortKey"));
    for (const mfb::ExploreKeyName& key : mfb::ExploreKeyNames())
        sortKey_->addItem(Latin1(key.label));
    followDefaultRanking();
    connect(sortKey_, &QComboBox::activated, this, [this] { rankingChosen_ = true; });
    changes(sortKey_, &QComboBox::currentIndexChanged);
    // The front is sorted by its own key.
    connect(pareto_, &QCheckBox::toggled, sortKey_, &QWidget::setDisabled);
    form->addRow(QStringLiteral("Rank by:"), sortKey_);
    top_ = new QSpinBox(settings);
    top_->setObjectName(QStringLiteral("top"));
    top_->setRange(1, mfb::kMaxTop);
    top_->setValue(kDefaultRows);
    changes(top_, &QSpinBox::valueChanged);
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
    // What a modeller compares first stands beside the names, in view without scrolling.
    QHeaderView* header = table_->horizontalHeader();
    int place = 0;
    for (int section = 0; section < model_->columnCount(); ++section) {
        if (model_->headerData(section, Qt::Horizontal).toString() == u"P") place = section + 1;
    }
    for (const char* name : {"Thrust g", "Flight min", "T/W", "Margin %"}) {
        for (int section = 0; section < model_->columnCount(); ++section) {
            if (model_->headerData(section, Qt::Horizontal).toString() != QLatin1String(name))
                continue;
            header->moveSection(header->visualIndex(section), place++);
        }
    }
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
    connect(table_, &QTableView::doubleClicked, this, [this] { useInOption(0); });
    return results;
}

void TFindDlg::showFans() {
    std::map<int, bool> checked;
    for (const auto& [number, box] : fans_) {
        checked[number] = box->isChecked();
        delete box;
    }
    fans_.clear();
    std::vector<std::pair<int, QString>> fans;
    for (int j = 1; j <= mfb::kFanCount; ++j) {
        fans.emplace_back(j,
                          Latin1(catalogue_.Fans[static_cast<std::size_t>(j - 1)].Name).trimmed());
    }
    for (const mfb::LibraryFan& fan : catalogue_.FanLibrary) {
        fans.emplace_back(
            fan.number,
            QStringLiteral("%1 (fan %2)").arg(Latin1(fan.fan.Name).trimmed()).arg(fan.number));
    }
    for (const auto& [number, name] : fans) {
        // An ampersand in a fan name is shown as it is, as on the fan buttons.
        auto* box = new QCheckBox(QString(name).replace(u'&', QStringLiteral("&&")), fanBox_);
        box->setObjectName(QStringLiteral("fan%1").arg(number));
        if (number > mfb::kFanCount) {
            box->setToolTip(QStringLiteral("In the fan library of fan.txt, on no fan button"));
        }
        const auto kept = checked.find(number);
        box->setChecked(kept != checked.end() ? kept->second : number <= mfb::kFanCount);
        connect(box, &QCheckBox::toggled, this, &TFindDlg::settingsChanged);
        fanBox_->layout()->addWidget(box);
        fans_.emplace_back(number, box);
    }
    // The five and two of the library in view, so that a library is seen to be there.
    const int shown = std::min(static_cast<int>(fans_.size()), mfb::kFanCount + 2);
    const int spacing = fanBox_->layout()->spacing();
    fanScroll_->setFixedHeight(shown * (fans_.front().second->sizeHint().height() + spacing));
}

void TFindDlg::catalogueChanged() {
    ++catalogueGeneration_;
    showFans();
    for (std::size_t i = 0; i < patterns_.size(); ++i) showMatches(i);
    followDefaultRanking();
    // The rows name lines by their place in the lists as they were: used now, they would put
    // other parts into an option.
    if (running()) cancel();
    fail(QStringLiteral("The catalogues were saved: search them again"));
    // A hidden window searches for no one.
    if (isVisible()) settingsChanged();
}

bool TFindDlg::running() const {
    return runner_->running();
}

void TFindDlg::showMatches(std::size_t field) {
    const PatternControls& controls = patterns_.at(field);
    const auto& lines = catalogue_.*mfb::ExplorePatternFields()[field].lines;
    controls.matches->clear();
    for (const std::size_t line : mfb::MatchingLines(lines, Pattern(controls.pattern))) {
        controls.matches->addItem(Latin1(mfb::EntryText(lines[line])).trimmed());
    }
}

std::optional<mfb::ExploreRequest> TFindDlg::request() {
    constexpr auto naming = mfb::SettingNaming::Label;
    mfb::ExploreSettings settings;
    mfb::ExploreRequest& request = settings.request;
    request.decimalSeparator = decimalSeparator_;
    try {
        const auto patternFields = mfb::ExplorePatternFields();
        for (std::size_t i = 0; i < patterns_.size(); ++i) {
            request.space.*patternFields[i].chosen = mfb::ChooseLines(
                patternFields[i], catalogue_, Pattern(patterns_[i].pattern), naming);
        }
        request.space.fans.clear();
        for (const auto& [number, box] : fans_) {
            if (box->isChecked()) request.space.fans.push_back(number);
        }
        std::sort(request.space.fans.begin(), request.space.fans.end());
        if (request.space.fans.empty()) throw mfb::ExploreSettingError("Fans: none chosen");
        for (const auto& [field, edit] : lists_) {
            request.space.*field->counts =
                mfb::ParseListSetting(*field, edit->text().trimmed().toStdString(), naming);
        }
        const auto numberFields = mfb::ExploreNumberFields();
        for (std::size_t i = 0; i < numbers_.size(); ++i) {
            const QString text = numbers_[i]->text().trimmed();
            if (text.isEmpty()) continue;
            numberFields[i].value(settings) = mfb::ParseNumberSetting(
                numberFields[i].name.label, text.toStdString(), request.decimalSeparator);
        }
        settings.key =
            mfb::ExploreKeyNames()[static_cast<std::size_t>(sortKey_->currentIndex())].key;
        request.ignoreLimits = ignoreLimits_->isChecked();
        request.pareto = pareto_->isChecked();
        request.flight = flight();
        // The front is sorted by its own key.
        if (request.pareto) settings.key.reset();
        request.top = static_cast<std::size_t>(top_->value());
        mfb::ExploreRequest resolved = mfb::ResolveSettings(settings, naming);
        resolved.key = mfb::KeyFor(resolved, mfb::KeyChosen(settings), catalogue_);
        return resolved;
    } catch (const mfb::ExploreSettingError& e) {
        fail(QString::fromStdString(e.what()));
        return std::nullopt;
    }
}

void TFindDlg::run() {
    pause_->stop();
    if (running()) return;
    if (const std::optional<mfb::ExploreRequest> wanted = request()) start(*wanted);
}

void TFindDlg::start(const mfb::ExploreRequest& request) {
    summary_->clear();
    progress_->setValue(0);
    timeLeft_->clear();
    clock_.start();
    runGeneration_ = catalogueGeneration_;
    runner_->start(catalogue_, request);
    setRunning(true);
}

void TFindDlg::followDefaultRanking() {
    if (rankingChosen_) return;
    // As the command line's without --sort.
    mfb::ExploreRequest everything;
    everything.space = mfb::WholeSpace(catalogue_);
    everything.flight = flight();
    sortKey_->setCurrentIndex(KeyIndex(mfb::DefaultKey(catalogue_, everything)));
}

mfb::FlightSettings TFindDlg::flight() const {
    return mfb::FlightSettingsOf(document_.setup().figures);
}

void TFindDlg::settingsChanged() {
    showRowsStale(model_->rowCount() > 0);
    pause_->start();
}

void TFindDlg::runIfQuick() {
    if (running()) {
        // The run under way has the old settings; these are looked at once it ends.
        changedWhileRunning_ = true;
        return;
    }
    const std::optional<mfb::ExploreRequest> wanted = request();
    if (!wanted) return;
    const double seconds = mfb::EstimateSeconds(catalogue_, *wanted, kEstimateBudget);
    if (seconds <= kQuickSeconds) {
        start(*wanted);
    } else {
        timeLeft_->setText(QStringLiteral("about %1 s: press Run").arg(std::ceil(seconds)));
    }
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
    if (runGeneration_ != catalogueGeneration_) {
        // A search of the catalogues before a save; their rows are of no use now.
        setRunning(false);
        changedWhileRunning_ = false;
        if (isVisible()) pause_->start();
        return;
    }
    if (!outcome->error.isEmpty()) {
        fail(ErrorBoxText(outcome->error));
    } else {
        const mfb::ExploreResult& result = outcome->result;
        const char separator = decimalSeparator_;
        table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        model_->setRows(outcome->catalogue, result.rows, separator);
        showRowsStale(false);
        // Measures the first thousand rows only (the header's default precision), however many
        // there are.
        table_->resizeColumnsToContents();
        summary_->setText(Latin1(mfb::ExploreSummary(result, outcome->seconds, separator)));
        if (result.partial) {
            timeLeft_->setText(QStringLiteral("cancelled after %1 of %2")
                                   .arg(result.counts.visited)
                                   .arg(result.combinations));
        } else {
            progress_->setValue(kProgressSteps);
            timeLeft_->setText(QStringLiteral("done"));
        }
        if (model_->rowCount() > 0) table_->selectRow(0);
        setRunning(false);
    }
    if (changedWhileRunning_) {
        changedWhileRunning_ = false;
        pause_->start();
    }
}

void TFindDlg::showRowsStale(bool stale) {
    QPalette palette;
    if (stale) {
        palette = table_->palette();
        palette.setColor(QPalette::Text, palette.color(QPalette::Disabled, QPalette::Text));
    }
    table_->setPalette(palette);
    table_->setToolTip(stale ? QStringLiteral("Found with other settings; run again to see these")
                             : QString());
}

void TFindDlg::fail(const QString& reason) {
    model_->setRows(nullptr, {}, decimalSeparator_);
    summary_->setText(reason);
    progress_->setValue(0);
    timeLeft_->clear();
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
    QString path = prompt_(QStringLiteral("Export CSV"), QStringLiteral("combinations.csv"),
                           QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    std::ostringstream csv;
    mfb::WriteExploreCsv(*catalogue, model_->rankedRows(), csv);
    const std::string bytes = csv.str();
    const QString failure = WriteWholeFile(
        path, QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!failure.isEmpty()) {
        Messages().warning(QStringLiteral("Export CSV"),
                           QStringLiteral("Cannot write \"%1\". %2").arg(path, failure));
    }
}

void TFindDlg::useInOption(int option) {
    const QModelIndex current = table_->currentIndex();
    if (!current.isValid() || option < 0 || option > mfb::kOptionCount) return;
    document_.requestCombination(option, model_->rowAt(current.row()));
}

void TFindDlg::closeEvent(QCloseEvent* event) {
    // A hidden window searches for no one.
    pause_->stop();
    changedWhileRunning_ = false;
    cancel();
    event->accept();
}
