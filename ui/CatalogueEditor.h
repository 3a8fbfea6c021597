// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <array>

class CatalogueTablePage;
class FanLibraryPage;
class QPushButton;
class QTabWidget;
class QUndoStack;

// "Catalogues > Edit…": the motor and battery catalogues of the working directory as tables, and
// the fans of its fan file with the choice of the library fans on the fan buttons, edited with
// undo and redo while the window is open. Save writes each changed file whole, in its own
// notation, every untouched line byte for byte, after keeping the file as it was as NAME~; a
// catalogue with an error in any field cannot be saved. `saved` tells the main window to read the
// catalogues again.
class CatalogueEditor : public QDialog {
    Q_OBJECT
public:
    CatalogueEditor(const QString& folder, char separator, QWidget* parent);
    ~CatalogueEditor() override;

    // Reads the files afresh; unsaved changes are dropped. False, with the reason shown, when a
    // file cannot be read.
    bool reload();
    // Writes the changed catalogues; whether every one was written.
    bool save();

signals:
    void saved();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void updateButtons();
    // The motor or battery page shown, or null.
    CatalogueTablePage* currentPage() const;

    QString folder_;
    QUndoStack* undo_;
    QTabWidget* tabs_;
    std::array<CatalogueTablePage*, 2> pages_{};
    FanLibraryPage* fans_;
    std::array<std::string, 3> read_;  // the bytes each file was loaded from: motors, cells, fans
    QPushButton* save_;
};
