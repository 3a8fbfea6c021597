// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include "ui/ChartExport.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class SetupDocument;
namespace mfb {
struct Catalogue;
}

// The "&File" menu: New, Open…, Save, Save As…, the setups used last, and Quit. It reads and
// writes setup files and hands what it opened to the setup document; the main window shows the
// document. Boxes go through Messages(), file dialogs through replaceable prompts.
class SetupFileMenu : public QObject {
    Q_OBJECT
public:
    // Adds the menu to `bar` as its next menu; dialogs open over `window`, which Quit closes.
    SetupFileMenu(QMenuBar* bar, SetupDocument& document, const mfb::Catalogue& catalogue,
                  QWidget* window);

    // Puts `actions` in the menu, after the setups used last and before Quit.
    void addEntries(const QList<QAction*>& actions);

    // Tests put their own prompts in place of the file dialogs.
    void setPrompts(FilePrompt open, FilePrompt save);

    void newSetup();
    // Opens the setup in `path`; false, with the reason shown, when nothing was opened.
    bool open(const QString& path);
    void openAsked();
    bool save();
    bool saveAs();
    // Whether what the setup holds may be dropped: asks to save changes to a setup that has been
    // in a file, and saves it when told to. Always true while no file was ever used.
    bool mayDiscard();

    // The files opened or saved last, newest first, as the settings keep them between runs.
    QStringList recentFiles() const;

private:
    bool saveTo(const QString& path);
    void remember(const QString& path);
    void showRecent();

    SetupDocument& document_;
    const mfb::Catalogue& catalogue_;
    QWidget* window_;
    QMenu* menu_;
    QMenu* recent_;
    QAction* quitSeparator_;
    FilePrompt openPrompt_;
    FilePrompt savePrompt_;
};
