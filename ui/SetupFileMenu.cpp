// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/SetupFileMenu.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QWidget>

#include "catalogue/Catalogue.h"
#include "catalogue/FileReader.h"
#include "model/Error.h"
#include "setup/SetupFile.h"
#include "setup/SetupMatch.h"
#include "ui/Latin1Text.h"
#include "ui/MessageService.h"
#include "ui/SetupDocument.h"

namespace {

const QString kSuffix =
    QString::fromLatin1(mfb::kSetupSuffix.data(), static_cast<qsizetype>(mfb::kSetupSuffix.size()));
const QString kFilter = QStringLiteral("Setups (*.%1);;All files (*)").arg(kSuffix);
const QString kRecentKey = QStringLiteral("recentSetups");
constexpr int kRecentCount = 8;

QSettings Settings() {
    return QSettings(QStringLiteral("mfbcalc"), QStringLiteral("mfbcalc"));
}

// A catalogue file's name, as the notes and errors quote it.
QString CannotOpen(const QString& path, const QString& reason) {
    return ErrorBoxText(QStringLiteral("Cannot open setup \"%1\". %2").arg(path, reason));
}

}  // namespace

SetupFileMenu::SetupFileMenu(QMenuBar* bar, SetupDocument& document,
                             const mfb::Catalogue& catalogue, QWidget* window)
    : QObject(window),
      document_(document),
      catalogue_(catalogue),
      window_(window),
      openPrompt_([window](const QString& caption, const QString& start, const QString& filter) {
          return QFileDialog::getOpenFileName(window, caption, start, filter);
      }),
      savePrompt_(SaveFileDialog(window)) {
    QMenu* menu = menu_ = bar->addMenu(QStringLiteral("&File"));
    menu->setObjectName(QStringLiteral("File1"));
    struct Item {
        const char* name;
        const char* text;
        QKeySequence::StandardKey key;
        std::function<void()> run;
    };
    const Item items[] = {
        {"New1", "&New", QKeySequence::New, [this] { newSetup(); }},
        {"Open1", "&Open\u2026", QKeySequence::Open, [this] { openAsked(); }},
        {"Save1", "&Save", QKeySequence::Save, [this] { save(); }},
        {"SaveAs1", "Save &As\u2026", QKeySequence::SaveAs, [this] { saveAs(); }},
    };
    for (const Item& item : items) {
        QAction* action = menu->addAction(QString::fromUtf8(item.text));
        action->setObjectName(QString::fromLatin1(item.name));
        action->setShortcut(item.key);
        connect(action, &QAction::triggered, this, item.run);
    }
    recent_ = menu->addMenu(QStringLiteral("&Recent Setups"));
    recent_->setObjectName(QStringLiteral("Recent1"));
    connect(recent_, &QMenu::aboutToShow, this, &SetupFileMenu::showRecent);
    quitSeparator_ = menu->addSeparator();
    QAction* quit = menu->addAction(QStringLiteral("&Quit"));
    quit->setObjectName(QStringLiteral("Quit1"));
    quit->setShortcut(QKeySequence::Quit);
    connect(quit, &QAction::triggered, window, &QWidget::close);
    showRecent();
}

void SetupFileMenu::addEntries(const QList<QAction*>& actions) {
    menu_->insertSeparator(quitSeparator_);
    menu_->insertActions(quitSeparator_, actions);
}

void SetupFileMenu::setPrompts(FilePrompt open, FilePrompt save) {
    openPrompt_ = std::move(open);
    savePrompt_ = std::move(save);
}

void SetupFileMenu::newSetup() {
    if (!mayDiscard()) return;
    mfb::Setup fresh;
    for (mfb::SetupOption& option : fresh.options) option.fanName = catalogue_.Fans[0].Name;
    document_.replace(fresh, QString());
}

bool SetupFileMenu::open(const QString& path) {
    if (!mayDiscard()) return false;
    // The command line's reader: a device, a FIFO or a huge file is refused at once, in its words.
    std::string bytes;
    try {
        bytes = mfb::ReadWholeFile(QFile::encodeName(path).toStdString(), mfb::kSetupFile);
    } catch (const mfb::Error& error) {
        Messages().error(ErrorBoxText(QString::fromLocal8Bit(error.what())));
        return false;
    }
    mfb::OpenedSetup opened;
    try {
        opened = mfb::OpenSetup(mfb::ReadSetup(bytes), catalogue_);
    } catch (const mfb::SetupError& error) {
        Messages().error(CannotOpen(path, QString::fromLatin1(error.what())));
        return false;
    }
    const QString full = QFileInfo(path).absoluteFilePath();
    document_.replace(opened.setup, full);
    remember(full);
    if (!opened.notes.empty()) {
        QStringList notes;
        for (const std::string& note : opened.notes) notes << Latin1(note);
        Messages().warning(QStringLiteral("Open Setup"),
                           QStringLiteral("The current catalogues do not hold this setup as it "
                                          "was saved:\n\n") +
                               notes.join(u'\n'));
    }
    return true;
}

void SetupFileMenu::openAsked() {
    const QString start = document_.path().isEmpty() ? recentFiles().value(0) : document_.path();
    const QString path =
        openPrompt_(QStringLiteral("Open Setup"), QFileInfo(start).absolutePath(), kFilter);
    if (!path.isEmpty()) open(path);
}

bool SetupFileMenu::save() {
    if (document_.path().isEmpty()) return saveAs();
    return saveTo(document_.path());
}

bool SetupFileMenu::saveAs() {
    const QString current = document_.path();
    const QString start = !current.isEmpty()
                              ? current
                              : QDir(QFileInfo(recentFiles().value(0)).absolutePath())
                                    .filePath(QStringLiteral("setup.") + kSuffix);
    QString path = savePrompt_(QStringLiteral("Save Setup As"), start, kFilter);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += u'.' + kSuffix;
    return saveTo(QFileInfo(path).absoluteFilePath());
}

bool SetupFileMenu::saveTo(const QString& path) {
    const std::string text = mfb::WriteSetup(document_.setup());
    const QString failure = WriteWholeFile(path, QByteArray::fromStdString(text));
    if (!failure.isEmpty()) {
        Messages().warning(QStringLiteral("Save Setup"),
                           QStringLiteral("Cannot write \"%1\". %2").arg(path, failure));
        return false;
    }
    document_.markSaved(path);
    remember(path);
    return true;
}

bool SetupFileMenu::mayDiscard() {
    if (!document_.usedFile() || !document_.modified()) return true;
    const QString name = document_.path().isEmpty() ? QStringLiteral("the new setup")
                                                    : QFileInfo(document_.path()).fileName();
    switch (Messages().askToSave(QStringLiteral("Unsaved Changes"),
                                 QStringLiteral("Save the changes to %1?").arg(name))) {
        case MessageService::SaveAnswer::Save:
            return save();
        case MessageService::SaveAnswer::Discard:
            return true;
        case MessageService::SaveAnswer::Cancel:
            return false;
    }
    return false;
}

QStringList SetupFileMenu::recentFiles() const {
    return Settings().value(kRecentKey).toStringList();
}

void SetupFileMenu::remember(const QString& path) {
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentCount) files.removeLast();
    Settings().setValue(kRecentKey, files);
}

void SetupFileMenu::showRecent() {
    recent_->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* action = recent_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QFileInfo(path).fileName().replace(u'&', QStringLiteral("&&"))));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, path] { open(path); });
    }
    recent_->setEnabled(!files.isEmpty());
}
