// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/FanFitDlg.h"
#include "ui/Latin1Text.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "catalogue/FanFit.h"
#include "catalogue/FanPointsCsv.h"
#include "catalogue/FileReader.h"
#include "catalogue/Limits.h"
#include "catalogue/NumberRule.h"
#include "model/Error.h"

namespace {

enum Column { PowerColumn, RpmColumn, ThrustColumn, ResidualColumn };
constexpr int kFirstRows = 8;

}  // namespace

FanFitDlg::FanFitDlg(char separator, QWidget* parent)
    : QDialog(parent),
      separator_(separator),
      name_(new QLineEdit(QStringLiteral("Fitted fan"), this)),
      power_(new QComboBox(this)),
      efficiency_(new QLineEdit(this)),
      diameter_(new QLineEdit(this)),
      hub_(new QLineEdit(this)),
      maxRpm_(new QLineEdit(this)),
      points_(new QTableWidget(kFirstRows, 4, this)),
      result_(new QLabel(this)),
      add_(new QPushButton(QStringLiteral("&Add to library"), this)) {
    setObjectName(QStringLiteral("FanFitDlg"));
    setWindowTitle(QStringLiteral("Fit a Fan from Points"));
    name_->setObjectName(QStringLiteral("name"));
    power_->setObjectName(QStringLiteral("powerKind"));
    power_->addItems({QStringLiteral("Shaft power"), QStringLiteral("Input power")});
    efficiency_->setObjectName(QStringLiteral("motorEfficiency"));
    efficiency_->setEnabled(false);
    diameter_->setObjectName(QStringLiteral("diameter"));
    hub_->setObjectName(QStringLiteral("hub"));
    maxRpm_->setObjectName(QStringLiteral("maxRpm"));
    maxRpm_->setPlaceholderText(QStringLiteral("optional"));
    points_->setObjectName(QStringLiteral("points"));
    points_->setHorizontalHeaderLabels({QStringLiteral("Power [W]"), QStringLiteral("rpm"),
                                        QStringLiteral("Thrust [g]"),
                                        QStringLiteral("Residual [%]")});
    points_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    result_->setObjectName(QStringLiteral("result"));
    result_->setWordWrap(true);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    add_->setObjectName(QStringLiteral("addToLibrary"));
    add_->setAutoDefault(false);
    add_->setEnabled(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Name:"), name_);
    form->addRow(QStringLiteral("&Power measured:"), power_);
    form->addRow(QStringLiteral("Motor &efficiency:"), efficiency_);
    form->addRow(QStringLiteral("&Diameter [mm]:"), diameter_);
    form->addRow(QStringLiteral("&Hub diameter [mm]:"), hub_);
    form->addRow(QStringLiteral("Max &rpm:"), maxRpm_);

    auto* addPoint = new QPushButton(QStringLiteral("Add &point"), this);
    addPoint->setObjectName(QStringLiteral("addPoint"));
    addPoint->setAutoDefault(false);
    auto* load = new QPushButton(QStringLiteral("&Load CSV…"), this);
    load->setObjectName(QStringLiteral("loadCsv"));
    load->setAutoDefault(false);
    auto* fitButton = new QPushButton(QStringLiteral("&Fit"), this);
    fitButton->setObjectName(QStringLiteral("fit"));
    fitButton->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(addPoint);
    buttons->addWidget(load);
    buttons->addStretch();
    buttons->addWidget(fitButton);
    buttons->addWidget(add_);
    buttons->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(points_);
    layout->addWidget(result_);
    layout->addLayout(buttons);

    connect(power_, &QComboBox::currentIndexChanged, this, [this](int index) {
        efficiency_->setEnabled(index == 1);
        forgetFit();
    });
    for (QLineEdit* edit : {name_, efficiency_, diameter_, hub_, maxRpm_}) {
        connect(edit, &QLineEdit::textChanged, this, &FanFitDlg::forgetFit);
    }
    connect(points_, &QTableWidget::itemChanged, this, [this] {
        if (!showing_) forgetFit();
    });
    connect(addPoint, &QPushButton::clicked, this,
            [this] { points_->insertRow(points_->rowCount()); });
    connect(load, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(
            this, QStringLiteral("Load Points"), QString(), QStringLiteral("CSV files (*.csv)"));
        if (!path.isEmpty()) loadCsv(path);
    });
    connect(fitButton, &QPushButton::clicked, this, &FanFitDlg::fit);
    connect(add_, &QPushButton::clicked, this, [this] {
        if (fitted_) emit fanFitted(*fitted_);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    resize(520, 560);
}

std::optional<double> FanFitDlg::number(const QString& text, const QString& what) const {
    const QByteArray bytes = text.trimmed().toLatin1();
    if (bytes.isEmpty()) return std::nullopt;
    try {
        return mfb::ParseNumber(std::string_view(bytes.constData(), bytes.size()), separator_);
    } catch (const mfb::Error& e) {
        throw mfb::Error(what.toStdString() + ": " + e.what());
    }
}

void FanFitDlg::forgetFit() {
    fitted_.reset();
    add_->setEnabled(false);
}

void FanFitDlg::loadCsv(const QString& path) {
    mfb::FanPointsCsv csv;
    try {
        const std::string file = path.toStdString();
        csv = mfb::ReadFanPointsCsv(mfb::ReadWholeFile(file), file);
    } catch (const mfb::Error& e) {
        result_->setText(Latin1(e.what()));
        return;
    }
    const auto shown = [this](double value) {
        return Latin1(mfb::ShortestText(value)).replace(u'.', QChar::fromLatin1(separator_));
    };
    points_->setRowCount(0);
    points_->setRowCount(std::max(kFirstRows, static_cast<int>(csv.points.size())));
    for (int r = 0; r < static_cast<int>(csv.points.size()); ++r) {
        const mfb::FanPoint& point = csv.points[static_cast<std::size_t>(r)];
        points_->setItem(r, PowerColumn, new QTableWidgetItem(shown(point.shaftPower)));
        points_->setItem(r, RpmColumn, new QTableWidgetItem(shown(point.rpm)));
        if (point.thrust)
            points_->setItem(r, ThrustColumn, new QTableWidgetItem(shown(*point.thrust)));
    }
    power_->setCurrentIndex(csv.inputPower ? 1 : 0);
    result_->setText(QStringLiteral("%1 points from %2").arg(csv.points.size()).arg(path));
}

void FanFitDlg::refuse(const QString& reason) {
    forgetFit();
    result_->setText(reason);
}

void FanFitDlg::fit() {
    forgetFit();
    std::vector<mfb::FanPoint> points;
    std::vector<int> rows;  // of each point
    std::optional<mfb::FanDimensions> dimensions;
    std::optional<double> maxRpm;
    try {
        if (name_->text().trimmed().isEmpty()) throw mfb::Error("the fan needs a name");
        const auto cell = [this](int row, int column) {
            const QTableWidgetItem* item = points_->item(row, column);
            return item != nullptr ? item->text() : QString();
        };
        const bool input = power_->currentIndex() == 1;
        // The share of the power measured that reaches the shaft.
        double share = 1;
        if (input) {
            const auto efficiency =
                number(efficiency_->text(), QStringLiteral("the motor efficiency"));
            if (!(efficiency && *efficiency > 0 && *efficiency <= 1)) {
                throw mfb::Error("input power needs the motor's efficiency, above 0 and at most 1");
            }
            share = *efficiency;
        }
        for (int r = 0; r < points_->rowCount(); ++r) {
            const QString where = QStringLiteral("point %1, ").arg(r + 1);
            const auto power = number(cell(r, PowerColumn), where + QStringLiteral("power"));
            const auto rpm = number(cell(r, RpmColumn), where + QStringLiteral("rpm"));
            const auto thrust = number(cell(r, ThrustColumn), where + QStringLiteral("thrust"));
            if (!power && !rpm && !thrust) continue;
            if (!power || !rpm) {
                throw mfb::Error(where.toStdString() + "a point needs its power and its rpm");
            }
            points.push_back({*power * share, *rpm, thrust});
            rows.push_back(r);
        }
        const auto diameter = number(diameter_->text(), QStringLiteral("the diameter"));
        const auto hub = number(hub_->text(), QStringLiteral("the hub diameter"));
        if (diameter.has_value() != hub.has_value()) {
            throw mfb::Error("the diameter and the hub diameter go together");
        }
        if (diameter) {
            if (!mfb::SweptArea(*diameter, *hub)) {
                throw mfb::Error("the hub's diameter is at least 0 and below the rotor's");
            }
            dimensions = mfb::FanDimensions{*diameter, *hub};
        }
        maxRpm = number(maxRpm_->text(), QStringLiteral("the max rpm"));
    } catch (const mfb::Error& e) {
        result_->setText(Latin1(e.what()));
        return;
    }

    const QByteArray name = name_->text().trimmed().toLatin1();
    const mfb::FittedFan fitted = mfb::FitLibraryFan(
        points, std::string(name.constData(), static_cast<std::size_t>(name.size())), dimensions,
        maxRpm);
    showing_ = true;
    for (int r = 0; r < points_->rowCount(); ++r) {
        points_->setItem(r, ResidualColumn, new QTableWidgetItem());
        points_->item(r, ResidualColumn)->setFlags(Qt::ItemIsEnabled);
    }
    for (std::size_t i = 0; i < fitted.fit.residuals.size(); ++i) {
        QString residual = QString::number(fitted.fit.residuals[i] * 100, 'f', 3);
        residual.replace(u'.', QChar::fromLatin1(separator_));
        points_->item(rows[i], ResidualColumn)->setText(residual);
    }
    showing_ = false;
    if (!fitted.refusal.empty()) {
        result_->setText(Latin1(fitted.refusal));
        return;
    }
    const mfb::LibraryFan& fan = fitted.fan;
    const auto shown = [this](double value) {
        QString text = Latin1(mfb::FanFileNumber(value));
        return text.replace(u'.', QChar::fromLatin1(separator_));
    };
    QString text = QStringLiteral("a0 to a4: %1, %2, %3, %4, %5; chart minimum power %6 W")
                       .arg(shown(fan.fan.a0), shown(fan.fan.a1), shown(fan.fan.a2),
                            shown(fan.fan.a3), shown(fan.fan.a4), shown(fan.fan.ChartMinPower));
    if (fan.jet.SweptArea) {
        text += QStringLiteral("; swept area %1 cm2").arg(shown(*fan.jet.SweptArea));
    }
    if (fan.jet.StaticEfficiency) {
        text += QStringLiteral("; static efficiency %1").arg(shown(*fan.jet.StaticEfficiency));
    }
    result_->setText(text);
    fitted_ = fan;
    add_->setEnabled(true);
}
