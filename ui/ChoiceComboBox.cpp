// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ChoiceComboBox.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

ChoiceComboBox::ChoiceComboBox(const char* objectName, const QString& designText, QWidget* parent)
    : QComboBox(parent) {
    setObjectName(QString::fromLatin1(objectName));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Inline completion would turn a few typed letters plus Enter into a choice.
    setCompleter(nullptr);
    setEditText(designText);
    connect(this, &QComboBox::activated, this, &ChoiceComboBox::onActivated);
}

void ChoiceComboBox::setEntries(const QStringList& entries, const QString& prompt) {
    clear();
    addItems(entries);
    setCurrentIndex(-1);
    setEditText(prompt);
}

void ChoiceComboBox::keyPressEvent(QKeyEvent* event) {
    const bool confirms = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QScopedValueRollback guard(finishingEdit_, finishingEdit_ || confirms);
    QComboBox::keyPressEvent(event);
}

void ChoiceComboBox::focusOutEvent(QFocusEvent* event) {
    QScopedValueRollback guard(finishingEdit_, true);
    QComboBox::focusOutEvent(event);
}

void ChoiceComboBox::onActivated(int index) {
    if (finishingEdit_ || index < 0) return;
    // Choosing the entry that is already current leaves typed text in the field otherwise.
    setEditText(itemText(index));
    emit chosen(index);
}
