// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QComboBox>

// An editable drop-down list whose `chosen` signal fires only when the user picks an entry: from
// the open list with the mouse or Enter, or with the arrow keys or the wheel while it is closed.
// Typing into the edit field chooses nothing, not even when the typed text happens to equal an
// entry and the field is then left or confirmed with Enter.
class ChoiceComboBox : public QComboBox {
    Q_OBJECT
public:
    ChoiceComboBox(const char* objectName, const QString& designText, QWidget* parent);

    // The entries, none of them chosen, and `prompt` in the edit field.
    void setEntries(const QStringList& entries, const QString& prompt);

signals:
    void chosen(int index);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void onActivated(int index);

    // Set while the edit field finishes editing: QComboBox then looks the typed text up among the
    // entries and reports a match as activated.
    bool finishingEdit_ = false;
};
