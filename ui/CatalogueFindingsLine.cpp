// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CatalogueFindingsLine.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "model/Error.h"

namespace {

QString Counted(std::size_t count, const char* what) {
    return QStringLiteral("%1 %2%3")
        .arg(count)
        .arg(QString::fromLatin1(what))
        .arg(count == 1 ? QString() : QStringLiteral("s"));
}

}  // namespace

CatalogueFindingsLine::CatalogueFindingsLine(QWidget* parent) : QLabel(parent) {
    setObjectName(QStringLiteral("CatalogueFindings"));
    setTextFormat(Qt::RichText);
    hide();
    connect(this, &QLabel::linkActivated, this, &CatalogueFindingsLine::showDetails);
}

void CatalogueFindingsLine::showFindings(const mfb::Findings& findings) {
    QStringList lines;
    // The window reads the catalogues from its working directory, so a file's name is its path.
    for (const mfb::Finding& f : findings) {
        lines << QString::fromLatin1(mfb::FindingLine(f, f.file))
                     .replace(QString::fromLatin1(mfb::kCutMark), QStringLiteral("\u2026"));
    }
    list_ = lines.join(u'\n');
    const std::size_t errors = mfb::CountFindings(findings, mfb::Severity::Error);
    setText(QStringLiteral("Catalogues: %1, %2 \u2014 <a href=\"details\">Details\u2026</a>")
                .arg(Counted(errors, "error"), Counted(findings.size() - errors, "warning")));
    setVisible(!findings.empty());
}

void CatalogueFindingsLine::showDetails() {
    if (details_ == nullptr) {
        details_ = new QDialog(window());
        details_->setObjectName(QStringLiteral("CatalogueFindingsDlg"));
        details_->setWindowTitle(QStringLiteral("Catalogue Findings"));
        auto* text = new QPlainTextEdit(details_);
        text->setObjectName(QStringLiteral("CatalogueFindingsText"));
        text->setReadOnly(true);
        text->setLineWrapMode(QPlainTextEdit::NoWrap);
        text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, details_);
        connect(buttons, &QDialogButtonBox::rejected, details_, &QDialog::hide);
        auto* layout = new QVBoxLayout(details_);
        layout->addWidget(text);
        layout->addWidget(buttons);
        details_->resize(760, 360);
    }
    details_->findChild<QPlainTextEdit*>()->setPlainText(list_);
    details_->show();
    details_->raise();
    details_->activateWindow();
}
