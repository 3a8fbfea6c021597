// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ComparisonActions.h"

#include <QAction>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>
#include <functional>

#include "ui/CompareChartsDlg.h"
#include "ui/ComparisonSheet.h"
#include "ui/MessageService.h"
#include "ui/SetupDocument.h"

namespace {

const QString kFilter = QStringLiteral("PDF document (*.pdf);;CSV file (*.csv)");

}  // namespace

ComparisonActions::ComparisonActions(const SetupDocument& document, const OptionCharts& charts,
                                     const QString& catalogueFolder, char decimalSeparator,
                                     QWidget* window)
    : QObject(window),
      document_(document),
      charts_(charts),
      catalogueFolder_(catalogueFolder),
      decimalSeparator_(decimalSeparator),
      window_(window),
      prompt_(SaveFileDialog(window)),
      lastFolder_(QDir::homePath()) {
    struct Item {
        const char* name;
        const char* text;
        QKeySequence key;
        void (ComparisonActions::*run)();
    };
    const Item items[] = {
        {"ExportComparison1", "&Export Comparison\u2026", QKeySequence(),
         &ComparisonActions::exportAsked},
        {"Print1", "&Print\u2026", QKeySequence(QKeySequence::Print),
         &ComparisonActions::printAsked},
        {"CompareCharts1", "&Compare Charts\u2026", QKeySequence(),
         &ComparisonActions::showCompareCharts},
    };
    for (const Item& item : items) {
        auto* action = new QAction(QString::fromUtf8(item.text), this);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(item.key);
        connect(action, &QAction::triggered, this, item.run);
        actions_ << action;
    }
}

ComparisonActions::~ComparisonActions() = default;

ComparisonSheet ComparisonActions::sheet() const {
    ComparisonSheet sheet(document_.setup(), charts_, catalogueFolder_,
                          QFileInfo(document_.path()).fileName(), QDate::currentDate(),
                          decimalSeparator_);
    sheet.setPartLoads(partLoads_);
    return sheet;
}

void ComparisonActions::exportAsked() {
    const QString setup = document_.path();
    const QString stem =
        setup.isEmpty() ? QStringLiteral("comparison") : QFileInfo(setup).completeBaseName();
    const QString path =
        prompt_(QStringLiteral("Export Comparison"),
                QDir(lastFolder_).filePath(stem + QStringLiteral(".pdf")), kFilter);
    if (path.isEmpty()) return;
    lastFolder_ = QFileInfo(path).absolutePath();
    exportTo(path);
}

bool ComparisonActions::exportTo(const QString& path) {
    const ComparisonSheet sheet = this->sheet();
    const bool csv =
        QFileInfo(path).suffix().compare(QStringLiteral("csv"), Qt::CaseInsensitive) == 0;
    const QByteArray bytes = csv ? sheet.csv() : sheet.pdf(LocalePageSize(QLocale()));
    QString failure = bytes.isEmpty() ? QStringLiteral("The document cannot be made.")
                                      : WriteWholeFile(path, bytes);
    if (failure.isEmpty()) return true;
    Messages().error(
        ErrorBoxText(QStringLiteral("Cannot write file \"%1\". %2").arg(path, failure)));
    return false;
}

void ComparisonActions::printAsked() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(LocalePageSize(QLocale()));
    printer.setDocName(QStringLiteral("Comparison of Options"));
    QPrintDialog dialog(&printer, window_);
    if (dialog.exec() != QDialog::Accepted) return;
    const ComparisonSheet sheet = this->sheet();
    if (!sheet.paint(printer)) {
        Messages().error(ErrorBoxText(QStringLiteral("Cannot print the comparison")));
    }
}

void ComparisonActions::showCompareCharts() {
    if (compare_ == nullptr) {
        compare_ = new CompareChartsDlg(document_, charts_, decimalSeparator_, window_);
        compare_->setThrust(thrust_);
    }
    compare_->show();
    compare_->raise();
    compare_->activateWindow();
}
