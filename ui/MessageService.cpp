// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageService.h"

#include <QApplication>
#include <QMessageBox>
#include <new>

#include "model/Error.h"

namespace {

class BoxMessages final : public MessageService {
public:
    void warning(const QString& caption, const QString& text) override {
        QMessageBox::warning(QApplication::activeWindow(), caption, text, QMessageBox::Ok);
    }
    void error(const QString& text) override { error(text, QString()); }
    void error(const QString& text, const QString& details) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, QApplication::activeWindow());
        box.setDetailedText(details);
        box.exec();
    }
    bool question(const QString& caption, const QString& text) override {
        return QMessageBox::question(QApplication::activeWindow(), caption, text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    }
};

BoxMessages defaultMessages;
MessageService* current = &defaultMessages;

}  // namespace

MessageService& Messages() {
    return *current;
}

MessageService* SetMessages(MessageService* service) {
    MessageService* previous = current;
    current = service != nullptr ? service : &defaultMessages;
    return previous;
}

QString ErrorBoxText(const QString& message) {
    // Byte order, as the messages are Latin-1: anything above '.' in code gets a full stop.
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + u'.';
    return message;
}

QString MessageText(const std::exception& error) {
    // Qt's own allocations fail the same way; no handler is worth ending the program for.
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return QStringLiteral("Out of memory: the last action was abandoned");
    }
    QString text = QString::fromLatin1(error.what());
    text.replace(QString::fromLatin1(mfb::kCutMark), QStringLiteral("\u2026"));
    return text;
}

void ShowError(const std::exception& error) {
    const QString text = ErrorBoxText(MessageText(error));
    if (const auto* located = dynamic_cast<const mfb::LocatedError*>(&error)) {
        const mfb::TextLocation& where = located->where();
        QString details = QString::fromLatin1(DescribeLocation(where));
        if (!where.text.empty()) details += u'\n' + QString::fromLatin1(where.text);
        Messages().error(text, details);
    } else {
        Messages().error(text);
    }
}
