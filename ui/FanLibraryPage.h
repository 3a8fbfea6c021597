// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>
#include <string>

#include "catalogue/CatalogueEdit.h"

class QComboBox;
class QPushButton;
class QTableWidget;
class QUndoStack;

// The fans of the fan file: the five on the fan buttons, then those of its library, with their
// curves, limits and jet data. A library fan is put on a fan button here, the fan that stood
// there going into the library in its place; each such swap is a step of the editor's undo stack.
// text() writes the file back with every line the swaps left alone as it was.
class FanLibraryPage : public QWidget {
    Q_OBJECT
public:
    FanLibraryPage(char separator, QUndoStack& undo, QWidget* parent);

    void load(const std::string& text);
    std::string text() const;
    // Trades library fan `number` and the fan on `button`, and shows the result; false when the
    // library has no whole fan of that number.
    bool swap(int button, int number);

private:
    void showFans();
    void standOnButton();

    char separator_;
    QUndoStack& undo_;
    QTableWidget* table_;
    QComboBox* button_;
    QPushButton* stand_;
    mfb::EditableText read_;
    std::vector<std::string> lines_;  // as the swaps left them
};
