// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MainDlg.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <utility>

#include "catalogue/CatalogueCheck.h"
#include "catalogue/Choice.h"
#include "model/Error.h"
#include "model/FigureRows.h"
#include "setup/SetupMatch.h"
#include "ui/AboutDlg.h"
#include "ui/CatalogueArea.h"
#include "ui/CatalogueEditor.h"
#include "ui/CatalogueFindingsLine.h"
#include "ui/ChoiceComboBox.h"
#include "ui/ColumnFrames.h"
#include "ui/ComparisonActions.h"
#include "ui/FigureRows.h"
#include "ui/FindDlg.h"
#include "ui/FlightSettingsBar.h"
#include "ui/FormFont.h"
#include "ui/GraphDlg.h"
#include "ui/MessageService.h"
#include "ui/OptionCharts.h"
#include "ui/OptionColumn.h"
#include "ui/OptionController.h"
#include "ui/PartLoadDlg.h"
#include "ui/QtPlatform.h"
#include "ui/SetupDocument.h"
#include "ui/SetupFileMenu.h"
#include "ui/SpinEdit.h"

namespace {

using Handler = void (TMainDlg::*)();

struct RadioDesign {
    const char* name;
    const char* caption;
    QRect geometry;  // inside its group box
    Handler handler;
};

// Fan k is offered by the k-th button; the captions stand until the fan catalogue is read.
const std::array<RadioDesign, mfb::kFanCount> kFanButtons{{
    {"RadioButton1", "Mini Fan", {20, 20, 113, 17}, &TMainDlg::RadioButton1Click},
    {"RadioButton2", "Midi Fan", {20, 36, 113, 17}, &TMainDlg::RadioButton2Click},
    {"RadioButton7", "Schubeler DS-51", {20, 52, 121, 17}, &TMainDlg::RadioButton7Click},
    {"RadioButton8", "HW-730", {20, 68, 113, 17}, &TMainDlg::RadioButton8Click},
    {"RadioButton9", "HW-750", {20, 84, 113, 17}, &TMainDlg::RadioButton9Click},
}};

const std::array<RadioDesign, mfb::kOptionCount> kOptionButtons{{
    {"RadioButton3", "Option 1", {8, 16, 113, 17}, &TMainDlg::RadioButton3Click},
    {"RadioButton4", "Option 2", {240, 16, 113, 17}, &TMainDlg::RadioButton4Click},
    {"RadioButton5", "Option 3", {472, 16, 113, 17}, &TMainDlg::RadioButton5Click},
    {"RadioButton6", "Option 4", {704, 16, 113, 17}, &TMainDlg::RadioButton6Click},
}};

constexpr std::array<Handler, mfb::kOptionCount> kCalculateHandlers{
    &TMainDlg::Button1Click, &TMainDlg::Button2Click, &TMainDlg::Button3Click,
    &TMainDlg::Button4Click};
constexpr std::array<Handler, mfb::kOptionCount> kChartHandlers{
    &TMainDlg::Button6Click, &TMainDlg::Button7Click, &TMainDlg::Button8Click,
    &TMainDlg::Button9Click};

// The client area below the menu bar that a 961 x 760 Windows frame leaves, and below it the flight
// settings and the rows of each column's figures.
constexpr int kDesignedHeight = 706;
constexpr int kFlightBarTop = kDesignedHeight, kFigureRowsTop = kFlightBarTop + 28;
constexpr QSize kClientSize(953,
                            kFigureRowsTop + int{mfb::kShownFigureCount} * FigureRows::kPitch + 6);

// Enough for the catalogue area's lists and a column beside them.
constexpr QSize kMinimumSize(480, 360);

QGroupBox* GroupBox(QWidget* parent, const char* name, const QString& title, const QRect& place) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(place);
    return group;
}

// The buttons of one group box, the first one checked. A button's handler runs when it becomes
// checked, by a click or by the program; unchecking runs nothing.
template <std::size_t N>
std::array<QRadioButton*, N> RadioButtons(QGroupBox* group,
                                          const std::array<RadioDesign, N>& designs,
                                          TMainDlg* window) {
    std::array<QRadioButton*, N> buttons{};
    for (std::size_t i = 0; i < N; ++i) {
        auto* button = new QRadioButton(QString::fromLatin1(designs[i].caption), group);
        button->setObjectName(QString::fromLatin1(designs[i].name));
        button->setGeometry(designs[i].geometry);
        button->setChecked(i == 0);
        QObject::connect(button, &QRadioButton::toggled, window,
                         [window, handler = designs[i].handler](bool on) {
                             if (on) (window->*handler)();
                         });
        buttons[i] = button;
    }
    return buttons;
}

const QString kTitle = QStringLiteral("Calculate Fan-Motor-Battery Combination 1.1");

// Where `line` stands in `lines`, if it does.
std::optional<std::size_t> IndexOf(const std::vector<std::string>& lines, const std::string& line) {
    if (line.empty()) return std::nullopt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == line) return i;
    }
    return std::nullopt;
}

// Whether `combination` is of the option's chosen motor, battery and fan.
bool SameParts(mfb::CalculatedFor combination, const mfb::SetupOption& option) {
    const mfb::CalculatedFor chosen = mfb::ChosenCombination(option);
    combination.serie = chosen.serie;
    combination.parallel = chosen.parallel;
    return combination == chosen;
}

// A caption without accelerators: an ampersand in a fan name is shown as it is.
QString PlainCaption(const std::string& name) {
    return QString::fromLatin1(name).replace(u'&', QStringLiteral("&&"));
}

// The chart windows the options were handed, for the comparison.
class ControllerCharts final : public OptionCharts {
public:
    explicit ControllerCharts(const std::array<OptionController*, mfb::kOptionCount>& options)
        : options_(options) {}
    const mfb::CurveTable* curves(int option) const override {
        const TGraphDlg* graph = window(option);
        return graph != nullptr ? &graph->curves() : nullptr;
    }
    std::optional<double> operatingPoint(int option) const override {
        const TGraphDlg* graph = window(option);
        return graph != nullptr ? graph->operatingPoint() : std::nullopt;
    }

private:
    const TGraphDlg* window(int option) const {
        return options_.at(static_cast<std::size_t>(option - 1))->chartWindow();
    }
    const std::array<OptionController*, mfb::kOptionCount>& options_;
};

}  // namespace

TMainDlg::TMainDlg(QWidget* parent) : TMainDlg(QtPlatform(), parent) {}

TMainDlg::TMainDlg(mfb::CataloguePlatform platform, QWidget* parent)
    : QMainWindow(parent),
      platform_(std::move(platform)),
      document_(new SetupDocument(this)),
      charts_(std::make_unique<ControllerCharts>(options_)) {
    setObjectName(QStringLiteral("MainDlg"));
    setWindowTitle(kTitle);
    setFont(FormFont());
    QPalette buttonFace = palette();
    buttonFace.setColor(QPalette::Window, buttonFace.color(QPalette::Button));
    setPalette(buttonFace);

    frames_ = new ColumnFrames;
    frames_->setFixedSize(kClientSize);
    // On a screen lower than the window, as 768 px with a panel, the rows scroll instead of being
    // cut off; nothing moves or stretches when the window is resized.
    auto* client = new QScrollArea(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFrameShape(QFrame::NoFrame);
    client->setWidget(frames_);
    setCentralWidget(client);
    setMinimumSize(kMinimumSize);
    catalogueArea_ = std::make_unique<CatalogueArea>(frames_);
    fanButtons_ = RadioButtons(
        GroupBox(frames_, "GroupBox1", QStringLiteral("Choose Fan"), QRect(776, 16, 161, 113)),
        kFanButtons, this);
    // No caption; the group only makes the four options one exclusive set, apart from the fans.
    optionButtons_ = RadioButtons(GroupBox(frames_, "GroupBox2", QString(), QRect(8, 136, 934, 41)),
                                  kOptionButtons, this);
    for (int option = 1; option <= mfb::kOptionCount; ++option) {
        const auto index = static_cast<std::size_t>(option - 1);
        options_[index] =
            new OptionController(option, slots_[index], catalogue_, *document_,
                                 platform_.decimalSeparator, kFigureRowsTop, frames_, this);
        const OptionColumn& c = options_[index]->column();
        connect(c.calculateButton(), &QPushButton::clicked, this, kCalculateHandlers[index]);
        connect(c.chartButton(), &QPushButton::clicked, this, kChartHandlers[index]);
        // An edited count belongs to the setup before any Calculate reads it.
        for (SpinEdit* edit : {c.serieEdit(), c.parallelEdit()}) {
            connect(edit, &SpinEdit::textChanged, this, [this, option] {
                if (showingSetup_) return;
                const OptionColumn& c = column(option);
                document_->setCells(
                    option, std::clamp(c.serieEdit()->value(), mfb::kMinSerie, mfb::kMaxSerie),
                    std::clamp(c.parallelEdit()->value(), mfb::kMinParallel, mfb::kMaxParallel));
            });
        }
    }
    flightBar_ = new FlightSettingsBar(kFlightBarTop, kClientSize.width(),
                                       platform_.decimalSeparator, frames_);
    // The model's weight and how it is flown belong to the setup; the bar shows them.
    connect(flightBar_, &FlightSettingsBar::settingsChanged, this,
            [this](const mfb::FlightSettings& flight) {
                if (!showingSetup_) document_->setFigures(mfb::SetupFiguresOf(flight));
            });
    for (OptionController* o : options_) {
        connect(o->partLoadAction(), &QAction::triggered, this,
                [this, option = o->option()] { showPartLoad(option); });
    }
    auto* close = new QPushButton(QStringLiteral("&Close"), frames_);
    close->setObjectName(QStringLiteral("Button5"));
    close->setGeometry(439, 632, 75, 25);
    close->setFont(FormFont(15, true));
    connect(close, &QPushButton::clicked, this, &TMainDlg::Button5Click);
    connect(catalogueArea_->motorList(), &ChoiceComboBox::chosen, this, &TMainDlg::ComboBox1Click);
    connect(catalogueArea_->batteryList(), &ChoiceComboBox::chosen, this,
            &TMainDlg::ComboBox2Click);
    buildMenu();
    arrangeTabOrder();
    resize(kClientSize.width(), kClientSize.height() + menuBar()->sizeHint().height());

    try {
        FormCreate();
    } catch (const std::exception& error) {
        ShowError(error);
    }

    // The setup starts as the window does, and from then on follows every choice.
    mfb::Setup start;
    for (int option = 1; option <= mfb::kOptionCount; ++option) {
        start.option(option).fanName = slot(option).FanName;
    }
    start.figures = mfb::SetupFiguresOf(flightBar_->settings());
    document_->replace(start, QString());
    connect(document_, &SetupDocument::replaced, this, &TMainDlg::showSetup);
    connect(document_, &SetupDocument::optionChanged, this,
            [this](int option) { controller(option).showOutcome(); });
    connect(document_, &SetupDocument::figuresChanged, this, [this] {
        flightBar_->setSettings(flightSettings());
        showFlightFigures();
    });
    connect(document_, &SetupDocument::pathChanged, this, &TMainDlg::showTitle);
    connect(document_, &SetupDocument::modifiedChanged, this, &TMainDlg::showTitle);
    connect(document_, &SetupDocument::combinationRequested, this, &TMainDlg::useCombination);

    // What check would report on these files, below everything of the window's design.
    auto* findings = new CatalogueFindingsLine(frames_);
    findings->setGeometry(8, 684, 937, 18);
    findings->showFindings(mfb::CheckCatalogues(platform_));
}

TMainDlg::~TMainDlg() = default;

void TMainDlg::buildMenu() {
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    files_ = new SetupFileMenu(menuBar(), *document_, catalogue_, this);
    // The catalogues are read from the working directory.
    comparison_ = new ComparisonActions(*document_, *charts_, QDir::currentPath(),
                                        platform_.decimalSeparator, this);
    comparison_->setPartLoads([this](int option) { return partLoad(option, mfb::kPartLoadStep); });
    comparison_->setThrust(
        [this](int option, double shaftPower) { return controller(option).thrustAt(shaftPower); });
    files_->addEntries(comparison_->actions());
    QAction* about = menuBar()->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("About1"));
    connect(about, &QAction::triggered, this, &TMainDlg::About1Click);
    QAction* find = menuBar()->addAction(QStringLiteral("&Find\u2026"));
    find->setObjectName(QStringLiteral("Find1"));
    find->setShortcut(QKeySequence::Find);
    connect(find, &QAction::triggered, this, &TMainDlg::Find1Click);
    QMenu* catalogues = menuBar()->addMenu(QStringLiteral("&Catalogues"));
    catalogues->setObjectName(QStringLiteral("Catalogues1"));
    QAction* edit = catalogues->addAction(QStringLiteral("&Edit\u2026"));
    edit->setObjectName(QStringLiteral("EditCatalogues1"));
    connect(edit, &QAction::triggered, this, &TMainDlg::EditCatalogues1Click);
}

void TMainDlg::EditCatalogues1Click() {
    if (editor_ == nullptr) {
        // The catalogues are read from the working directory.
        editor_ = new CatalogueEditor(QDir::currentPath(), platform_.decimalSeparator, this);
        connect(editor_, &CatalogueEditor::saved, this, &TMainDlg::reloadCatalogues);
    }
    if (!editor_->isVisible() && !editor_->reload()) return;
    editor_->show();
    editor_->raise();
    editor_->activateWindow();
}

void TMainDlg::reloadCatalogues() {
    mfb::Catalogue fresh;
    // The loading names fan 1 in every slot it is given; the options keep theirs.
    std::array<mfb::TOptionSlot, mfb::kOptionCount> scratch = slots_;
    mfb::LoadObserver quiet;
    try {
        mfb::LoadCatalogues(fresh, scratch, platform_, quiet);
    } catch (const mfb::Error& e) {
        Messages().error(ErrorBoxText(MessageText(e)));
        return;
    }
    const mfb::Catalogue chosenFrom = std::exchange(catalogue_, std::move(fresh));
    MotorsRead(catalogue_);
    BatteriesRead(catalogue_);
    FansRead(catalogue_);
    catalogueArea_->showFanLines(catalogue_.FanLines);
    if (find_ != nullptr) find_->catalogueChanged();
    // The options' parts are found in the saved catalogues as an opened setup's are, and shown
    // again: the slots take the new data and a result is swept again with it.
    const mfb::OpenedSetup opened = mfb::OpenSetup(document_->setup(), catalogue_, &chosenFrom);
    // Where no chosen part and not the wiring changed, the slots and results are those of the
    // saved catalogues already, and sweeping them again would only clear the charts.
    if (opened.notes.empty() && opened.setup == document_->setup() &&
        catalogue_.WireResistance == chosenFrom.WireResistance) {
        return;
    }
    document_->rematch(opened.setup);
    if (!opened.notes.empty()) {
        QStringList notes;
        for (const std::string& note : opened.notes) notes << QString::fromLatin1(note);
        Messages().warning(QStringLiteral("Edit Catalogues"),
                           QStringLiteral("The saved catalogues do not hold the options' parts "
                                          "as they were chosen:\n\n") +
                               notes.join(u'\n'));
    }
}

void TMainDlg::arrangeTabOrder() {
    std::vector<QWidget*> order(fanButtons_.begin(), fanButtons_.end());
    order.insert(order.end(), optionButtons_.begin(), optionButtons_.end());
    for (const OptionController* o : options_) {
        order.push_back(o->column().serieEdit());
        order.push_back(o->column().parallelEdit());
    }
    for (const OptionController* o : options_) order.push_back(o->column().calculateButton());
    order.push_back(findChild<QPushButton*>(QStringLiteral("Button5")));
    order.push_back(catalogueArea_->motorList());
    order.push_back(catalogueArea_->batteryList());
    for (const OptionController* o : options_) order.push_back(o->column().chartButton());
    for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

const mfb::TOptionSlot& TMainDlg::slot(int option) const {
    return slots_.at(static_cast<std::size_t>(option - 1));
}

OptionController& TMainDlg::controller(int option) const {
    return *options_.at(static_cast<std::size_t>(option - 1));
}

OptionColumn& TMainDlg::column(int option) const {
    return controller(option).column();
}

int TMainDlg::selectedOption() const {
    for (std::size_t k = 0; k < optionButtons_.size(); ++k) {
        if (optionButtons_[k]->isChecked()) return static_cast<int>(k) + 1;
    }
    return 0;
}

void TMainDlg::FormCreate() {
    // The invisible fan list holds the file as read, even when one of its numbers then failed.
    const auto showFanLines =
        qScopeGuard([this] { catalogueArea_->showFanLines(catalogue_.FanLines); });
    mfb::LoadCatalogues(catalogue_, slots_, platform_, *this);
}

void TMainDlg::MotorsRead(const mfb::Catalogue& catalogue) {
    catalogueArea_->showMotors(catalogue.MotorLines);
}

void TMainDlg::BatteriesRead(const mfb::Catalogue& catalogue) {
    catalogueArea_->showBatteries(catalogue.BatteryLines);
}

void TMainDlg::FansRead(const mfb::Catalogue& catalogue) {
    for (std::size_t j = 0; j < fanButtons_.size(); ++j) {
        fanButtons_[j]->setText(PlainCaption(catalogue.Fans[j].Name));
    }
    for (int option = 1; option <= mfb::kOptionCount; ++option) {
        column(option).showNames(slot(option));
    }
}

void TMainDlg::chooseIntoSelected(const std::function<void(mfb::TOptionSlot&)>& choose,
                                  const std::function<void(int option)>& record) {
    const int option = selectedOption();
    if (option == 0) return;
    // A bad number field throws after the name has changed; the labels and the setup must show
    // that too.
    const auto showNames = qScopeGuard([&] {
        column(option).showNames(slot(option));
        record(option);
    });
    choose(slots_[static_cast<std::size_t>(option - 1)]);
}

void TMainDlg::ComboBox1Click() {
    const int index = catalogueArea_->motorList()->currentIndex();
    if (index < 0) return;
    const std::string& line = catalogue_.MotorLines.at(static_cast<std::size_t>(index));
    catalogueArea_->showMotorParameters(mfb::MotorParameterTexts(line));
    chooseIntoSelected(
        [&](mfb::TOptionSlot& s) {
            mfb::ChooseMotor(s, line, platform_.decimalSeparator,
                             catalogue_.MotorLineNumbers.at(static_cast<std::size_t>(index)));
        },
        [&](int option) {
            document_->setMotor(option, {mfb::LineName(line), line});
        });
}

void TMainDlg::ComboBox2Click() {
    const int index = catalogueArea_->batteryList()->currentIndex();
    if (index < 0) return;
    const std::string& line = catalogue_.BatteryLines.at(static_cast<std::size_t>(index));
    catalogueArea_->showBatteryParameters(mfb::BatteryParameterTexts(line));
    chooseIntoSelected(
        [&](mfb::TOptionSlot& s) {
            mfb::ChooseBattery(s, line, platform_.decimalSeparator,
                               catalogue_.BatteryLineNumbers.at(static_cast<std::size_t>(index)));
        },
        [&](int option) {
            document_->setBattery(option, {mfb::LineName(line), line});
        });
}

void TMainDlg::fanChosen(int fan) {
    chooseIntoSelected([&](mfb::TOptionSlot& s) { mfb::ChooseFan(s, catalogue_.Fans, fan); },
                       [&](int option) { document_->setFan(option, fan, slot(option).FanName); });
}

void TMainDlg::optionSelected(int option) {
    // The fan buttons follow the option's fan. Checking a button runs its handler, which writes
    // the same name back into this option.
    for (std::size_t j = 0; j < fanButtons_.size(); ++j) {
        if (slot(option).FanName == catalogue_.Fans[j].Name) {
            fanButtons_[j]->setChecked(true);
        }
    }
    frames_->select(option);
    if (!showingSetup_) document_->setSelectedOption(option);
}

void TMainDlg::calculate(int option) {
    controller(option).calculate();
}

bool TMainDlg::calculating(int option) const {
    return controller(option).calculating();
}

std::vector<mfb::PartLoadRow> TMainDlg::partLoad(int option, double step) const {
    return controller(option).partLoad(step);
}

void TMainDlg::showPartLoad(int option) {
    const QString title = QStringLiteral("Part load - Option %1").arg(option);
    PartLoadDlg::Table table = [this, option](double step) { return partLoad(option, step); };
    if (partLoad_ == nullptr) {
        partLoad_ = new PartLoadDlg(title, std::move(table), platform_.decimalSeparator, this);
    } else {
        partLoad_->setTable(title, std::move(table));
    }
    partLoad_->show();
    partLoad_->raise();
}

void TMainDlg::showChart(int option) {
    controller(option).showChart();
}

TGraphDlg* TMainDlg::chartWindow(int option) const {
    return controller(option).chartWindow();
}

void TMainDlg::setChartWindows(const std::array<TGraphDlg*, mfb::kOptionCount>& charts) {
    for (int option = 1; option <= mfb::kOptionCount; ++option) {
        controller(option).setChartWindow(charts[static_cast<std::size_t>(option - 1)]);
    }
}

void TMainDlg::Button5Click() {
    close();
}

void TMainDlg::About1Click() {
    if (about_ != nullptr) about_->showModal();
}

void TMainDlg::Find1Click() {
    if (find_ == nullptr) {
        find_ = new TFindDlg(catalogue_, platform_.decimalSeparator, *document_, this);
        // Beside the main window, whose columns it fills, where the screen has room for it.
        const QRect screen = this->screen()->availableGeometry();
        const QRect frame = frameGeometry();
        const int right = frame.right() + 1;
        const int x = right + find_->width() <= screen.right() + 1
                          ? right
                          : std::max(screen.left(), frame.left() - find_->width());
        find_->move(x, frame.top());
    }
    find_->show();
    find_->raise();
    find_->activateWindow();
}

void TMainDlg::useCombination(int option, const mfb::Combination& combination) {
    if (combination.fan > mfb::kFanCount) {
        // An option calculates with the fans on the buttons; Find also ranks the library's.
        const mfb::TFanData* fan = mfb::FanNumbered(catalogue_, combination.fan);
        const QString name = fan != nullptr ? QString::fromLatin1(fan->Name).trimmed()
                                            : QStringLiteral("fan %1").arg(combination.fan);
        Messages().warning(QStringLiteral("Use in Option"),
                           QStringLiteral("%1 is fan %2 of the fan library and stands on no fan "
                                          "button. Put it on one in Catalogues > Edit\u2026 to "
                                          "calculate it in an option.")
                               .arg(name)
                               .arg(combination.fan));
        return;
    }
    // The click at the end must start this combination's sweep, not be taken as the stop of one
    // already running in the option.
    controller(option).stop();
    optionButtons_.at(static_cast<std::size_t>(option - 1))->setChecked(true);
    catalogueArea_->motorList()->setCurrentIndex(static_cast<int>(combination.motor));
    ComboBox1Click();
    catalogueArea_->batteryList()->setCurrentIndex(static_cast<int>(combination.battery));
    ComboBox2Click();
    // A button that is checked already runs no handler, yet the option's fan must still be set.
    QRadioButton* fan = fanButtons_.at(static_cast<std::size_t>(combination.fan - 1));
    if (fan->isChecked()) {
        fanChosen(combination.fan);
    } else {
        fan->setChecked(true);
    }
    column(option).serieEdit()->setValue(combination.serie);
    column(option).parallelEdit()->setValue(combination.parallel);
    column(option).calculateButton()->click();
}

void TMainDlg::showSetup() {
    showingSetup_ = true;
    const auto shown = qScopeGuard([this] { showingSetup_ = false; });
    const mfb::Setup& setup = document_->setup();
    std::vector<int> recalculate;
    for (int option = 1; option <= mfb::kOptionCount; ++option) {
        const mfb::SetupOption& o = setup.option(option);
        controller(option).clear();
        mfb::TOptionSlot& s = slots_[static_cast<std::size_t>(option - 1)];
        s = mfb::TOptionSlot{};
        OptionColumn& c = column(option);
        const auto motor = IndexOf(catalogue_.MotorLines, o.motor.line);
        const auto battery = IndexOf(catalogue_.BatteryLines, o.battery.line);
        try {
            if (motor) {
                mfb::ChooseMotor(s, catalogue_.MotorLines[*motor], platform_.decimalSeparator,
                                 catalogue_.MotorLineNumbers.at(*motor));
            }
            if (battery) {
                mfb::ChooseBattery(s, catalogue_.BatteryLines[*battery], platform_.decimalSeparator,
                                   catalogue_.BatteryLineNumbers.at(*battery));
            }
        } catch (const std::exception& error) {
            ShowError(error);
        }
        if (o.fan >= 1 && o.fan <= mfb::kFanCount) mfb::ChooseFan(s, catalogue_.Fans, o.fan);
        c.showNames(s);
        c.serieEdit()->setValue(o.serie);
        c.parallelEdit()->setValue(o.parallel);
        // A result is shown by a sweep of what it was calculated for, where that differs from the
        // choice in the cells at most; values of other lines stay as they were shown, marked.
        if (o.shown && motor && battery && SameParts(o.shown->calculatedFor, o)) {
            recalculate.push_back(option);
        } else if (o.shown) {
            controller(option).showKept(*o.shown);
        }
    }
    flightBar_->setSettings(mfb::FlightSettingsOf(setup.figures));
    // The fan buttons and the frames follow the selected option, even when it was selected.
    QRadioButton* selected = optionButtons_.at(static_cast<std::size_t>(setup.selected - 1));
    if (selected->isChecked()) {
        optionSelected(setup.selected);
    } else {
        selected->setChecked(true);
    }
    // The lists and the parameters show the selected option's entries, as if just chosen.
    const mfb::SetupOption& current = setup.option(setup.selected);
    if (const auto motor = IndexOf(catalogue_.MotorLines, current.motor.line)) {
        catalogueArea_->motorList()->setCurrentIndex(static_cast<int>(*motor));
        catalogueArea_->showMotorParameters(mfb::MotorParameterTexts(current.motor.line));
    }
    if (const auto battery = IndexOf(catalogue_.BatteryLines, current.battery.line)) {
        catalogueArea_->batteryList()->setCurrentIndex(static_cast<int>(*battery));
        catalogueArea_->showBatteryParameters(mfb::BatteryParameterTexts(current.battery.line));
    }
    for (const int option : recalculate) {
        try {
            // A copy: the sweep's end stores a new result in its place.
            const mfb::CalculatedFor combination = setup.option(option).shown->calculatedFor;
            controller(option).sweep(combination);
        } catch (const std::exception& error) {
            ShowError(error);
        }
    }
    for (OptionController* o : options_) o->showOutcome();
}

void TMainDlg::showTitle() {
    const QString path = document_->path();
    if (path.isEmpty() && !document_->usedFile()) {
        setWindowTitle(kTitle);
        return;
    }
    const QString name = path.isEmpty() ? QStringLiteral("New setup") : QFileInfo(path).fileName();
    setWindowTitle(name + QStringLiteral("[*] - ") + kTitle);
    setWindowModified(document_->modified());
}

void TMainDlg::closeEvent(QCloseEvent* event) {
    if (!files_->mayDiscard()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

mfb::FlightSettings TMainDlg::flightSettings() const {
    return mfb::FlightSettingsOf(document_->setup().figures);
}

void TMainDlg::showFlightFigures() {
    for (OptionController* o : options_) o->reassess();
}
