// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace {

class BoxMessages final : public MessageService {
public:
    void warning(const QString& caption, const QString& text) override {
        QMessageBox::warning(QApplication::activeWindow(), caption, text, QMessageBox::Ok);
    }
    void error(const QString& text) override {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                              text, QMessageBox::Ok);
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

void ShowError(const std::exception& error) {
    Messages().error(ErrorBoxText(QString::fromLatin1(error.what())));
}
