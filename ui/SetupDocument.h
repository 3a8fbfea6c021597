// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "catalogue/Combination.h"
#include "setup/Setup.h"

// The setup the main window shows, and its file: the one place through which the window and the
// windows beside it read and change what the four options have chosen. Every setter compares,
// stores, then emits; a change marks the setup modified. Windows that want an option changed ask
// here (requestCombination) instead of reaching into the main window.
class SetupDocument : public QObject {
    Q_OBJECT
public:
    explicit SetupDocument(QObject* parent = nullptr);

    const mfb::Setup& setup() const { return setup_; }
    const mfb::SetupOption& option(int k) const { return setup_.option(k); }
    int selectedOption() const { return setup_.selected; }

    void setMotor(int option, const mfb::ChosenLine& motor);
    void setBattery(int option, const mfb::ChosenLine& battery);
    void setFan(int option, int fan, const std::string& name);
    void setCells(int option, int serie, int parallel);
    // A result differing only in its texts (another catalogue line of the same name, the figures
    // under other flight settings) leaves the setup unmodified.
    void setShown(int option, const std::optional<mfb::ShownResult>& shown);
    void setSelectedOption(int option);
    void setFigures(const mfb::SetupFigures& figures);

    // Replaces the whole setup, as New and Open do; `path` is the file it now belongs to (empty:
    // none). The setup is unmodified afterwards.
    void replace(const mfb::Setup& setup, const QString& path);

    // The options' parts as the catalogues hold them after they were read again (OpenSetup):
    // shown again like an opened setup, in the same file, modified where a choice changed.
    void rematch(const mfb::Setup& setup);

    // The file the setup was opened from or saved to last; empty while it has none.
    QString path() const { return path_; }
    // Whether a file was ever opened or saved in this run: only then is a close asked about.
    bool usedFile() const { return usedFile_; }
    bool modified() const { return modified_; }
    // The setup was written to `path`.
    void markSaved(const QString& path);

    // Asks the main window to put `combination` into `option` (1..4; 0 for the selected one) and
    // calculate it there.
    void requestCombination(int option, const mfb::Combination& combination);

signals:
    void optionChanged(int option);
    void selectedOptionChanged(int option);
    void figuresChanged();
    // After replace(): every option and the selection may differ.
    void replaced();
    void modifiedChanged(bool modified);
    void pathChanged(const QString& path);
    void combinationRequested(int option, const mfb::Combination& combination);

private:
    // Stores `value` in `field` and tells of it, when it differs.
    template <class T>
    void change(int option, T mfb::SetupOption::*field, const T& value);
    void setModified(bool modified);

    mfb::Setup setup_;
    QString path_;
    bool usedFile_ = false;
    bool modified_ = false;
};
