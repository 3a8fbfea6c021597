// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/CatalogueEditor.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include "catalogue/Catalogue.h"
#include "catalogue/FileReader.h"
#include "model/Error.h"
#include "ui/CatalogueTablePage.h"
#include "ui/ChartExport.h"
#include "ui/FanLibraryPage.h"
#include "ui/MessageService.h"

namespace {

constexpr std::array<const char*, 3> kFiles = {mfb::kMotorFile, mfb::kBatteryFile, mfb::kFanFile};
constexpr std::array<const char*, 2> kTabTitles = {"&Motors", "&Cell types"};

QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CatalogueEditor::CatalogueEditor(const QString& folder, char separator, QWidget* parent)
    : QDialog(parent),
      folder_(folder),
      undo_(new QUndoStack(this)),
      tabs_(new QTabWidget(this)),
      fans_(new FanLibraryPage(separator, *undo_, tabs_)),
      save_(new QPushButton(QStringLiteral("&Save"), this)) {
    setObjectName(QStringLiteral("CatalogueEditor"));
    setWindowTitle(QStringLiteral("Edit Catalogues"));
    tabs_->setObjectName(QStringLiteral("catalogueTabs"));
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        pages_[i] = new CatalogueTablePage(kFiles[i], separator, *undo_, tabs_);
        pages_[i]->setObjectName(QString::fromLatin1(kFiles[i]).section(u'.', 0, 0));
        tabs_->addTab(pages_[i], QString::fromLatin1(kTabTitles[i]));
        connect(pages_[i], &CatalogueTablePage::findingsChanged, this,
                &CatalogueEditor::updateButtons);
    }
    fans_->setObjectName(QStringLiteral("fan"));
    tabs_->addTab(fans_, QStringLiteral("&Fans"));
    connect(fans_, &FanLibraryPage::findingsChanged, this, &CatalogueEditor::updateButtons);

    struct Button {
        const char* name;
        const char* text;
        void (CatalogueTablePage::*act)();
        void (FanLibraryPage::*actOnFans)();
    };
    const Button buttons[] = {
        {"add", "&Add", &CatalogueTablePage::addRow, &FanLibraryPage::addRow},
        {"duplicate", "D&uplicate", &CatalogueTablePage::duplicateRow,
         &FanLibraryPage::duplicateRow},
        {"delete", "&Delete", &CatalogueTablePage::deleteRow, &FanLibraryPage::deleteRow}};
    auto* row = new QHBoxLayout;
    for (const Button& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.text), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        const auto act = b.act;
        const auto actOnFans = b.actOnFans;
        connect(button, &QPushButton::clicked, this, [this, act, actOnFans] {
            if (CatalogueTablePage* page = currentPage()) {
                (page->*act)();
            } else if (tabs_->currentWidget() == fans_) {
                (fans_->*actOnFans)();
            }
        });
        row->addWidget(button);
    }
    for (QAction* action : {undo_->createUndoAction(this), undo_->createRedoAction(this)}) {
        const bool isUndo = action->text().startsWith(QStringLiteral("Undo"));
        action->setShortcut(isUndo ? QKeySequence::Undo : QKeySequence::Redo);
        addAction(action);
        auto* button =
            new QPushButton(isUndo ? QStringLiteral("U&ndo") : QStringLiteral("&Redo"), this);
        button->setObjectName(isUndo ? QStringLiteral("undo") : QStringLiteral("redo"));
        button->setAutoDefault(false);
        button->setEnabled(action->isEnabled());
        connect(action, &QAction::enabledChanged, button, &QPushButton::setEnabled);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        row->addWidget(button);
    }
    row->addStretch();
    save_->setObjectName(QStringLiteral("save"));
    save_->setAutoDefault(false);
    connect(save_, &QPushButton::clicked, this, &CatalogueEditor::save);
    row->addWidget(save_);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("close"));
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    row->addWidget(close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(row);
    connect(undo_, &QUndoStack::cleanChanged, this, &CatalogueEditor::updateButtons);
    resize(900, 560);
}

CatalogueEditor::~CatalogueEditor() {
    // The undo stack empties itself as it goes, once this window is only a QWidget: a change
    // left unsaved would tell it that it became clean.
    disconnect(undo_, nullptr, this, nullptr);
}

CatalogueTablePage* CatalogueEditor::currentPage() const {
    return qobject_cast<CatalogueTablePage*>(tabs_->currentWidget());
}

bool CatalogueEditor::reload() {
    std::array<std::string, 3> texts;
    try {
        for (std::size_t i = 0; i < texts.size(); ++i) {
            texts[i] = mfb::ReadWholeFile(QDir(folder_).filePath(kFiles[i]).toStdString());
        }
    } catch (const mfb::Error& e) {
        Messages().error(ErrorBoxText(MessageText(e)));
        return false;
    }
    undo_->clear();
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        read_[i] = texts[i];
        pages_[i]->load(texts[i]);
    }
    read_[2] = texts[2];
    fans_->load(texts[2]);
    updateButtons();
    return true;
}

bool CatalogueEditor::save() {
    for (std::size_t i = 0; i < kFiles.size(); ++i) {
        const std::string text = i < pages_.size() ? pages_[i]->text() : fans_->text();
        if (text == read_[i]) continue;
        const QString path = QDir(folder_).filePath(kFiles[i]);
        QString failure = WriteWholeFile(path + u'~', Bytes(read_[i]));
        if (failure.isEmpty()) failure = WriteWholeFile(path, Bytes(text));
        if (!failure.isEmpty()) {
            Messages().error(
                ErrorBoxText(QStringLiteral("Cannot save \"%1\". %2").arg(path, failure)));
            return false;
        }
        read_[i] = text;
    }
    undo_->setClean();
    emit saved();
    return true;
}

void CatalogueEditor::updateButtons() {
    const bool errors = fans_->hasErrors() ||
                        std::any_of(pages_.begin(), pages_.end(),
                                    [](const CatalogueTablePage* p) { return p->hasErrors(); });
    save_->setEnabled(!undo_->isClean() && !errors);
    save_->setToolTip(errors ? QStringLiteral("A field has an error; its tooltip says which")
                             : QString());
}

void CatalogueEditor::closeEvent(QCloseEvent* event) {
    if (!undo_->isClean()) {
        switch (Messages().askToSave(windowTitle(),
                                     QStringLiteral("Save the changes to the catalogues?"))) {
            case MessageService::SaveAnswer::Save:
                if (!save_->isEnabled() || !save()) {
                    event->ignore();
                    return;
                }
                break;
            case MessageService::SaveAnswer::Discard:
                reload();
                break;
            case MessageService::SaveAnswer::Cancel:
                event->ignore();
                return;
        }
    }
    event->accept();
}
