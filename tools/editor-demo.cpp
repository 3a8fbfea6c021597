// SPDX-License-Identifier: GPL-3.0-or-later
// editor-demo DATA_DIR OUTPUT.png
//
// Starts the main window on copies of the catalogues in DATA_DIR, opens Catalogues > Edit…,
// duplicates a motor, renames the copy and types a kv of 0 into it, as a user does, and saves a
// picture of the editor showing the finding at that field. DATA_DIR itself is never written.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "ui/CatalogueEditor.h"
#include "ui/MainDlg.h"
#include "ui/QtPlatform.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: editor-demo DATA_DIR OUTPUT.png\n");
        return 2;
    }
    const QString data = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir work;
    for (const char* file : {"motor.txt", "battery.txt", "fan.txt"}) {
        if (!QFile::copy(QDir(data).filePath(QLatin1String(file)),
                         work.filePath(QLatin1String(file)))) {
            std::fprintf(stderr, "editor-demo: cannot copy %s\n", file);
            return 1;
        }
    }
    QDir::setCurrent(work.path());
    TMainDlg main(QtPlatform(work.path()));
    main.show();
    main.findChild<QAction*>(QStringLiteral("EditCatalogues1"))->trigger();
    auto* editor = main.findChild<CatalogueEditor*>();
    auto* table = editor->findChild<QWidget*>(QStringLiteral("motor"))
                      ->findChild<QTableView*>(QStringLiteral("table"));
    QAbstractItemModel* model = table->model();
    table->setCurrentIndex(model->index(6, 0));
    editor->findChild<QPushButton*>(QStringLiteral("duplicate"))->click();
    const int copy = table->currentIndex().row();
    model->setData(model->index(copy, 0), QStringLiteral("Inrunner 3660-2900"));
    const QModelIndex kv = model->index(copy, 2);
    table->setCurrentIndex(kv);
    model->setData(kv, QStringLiteral("0"));
    editor->resize(980, 520);
    QApplication::processEvents();
    if (!editor->grab().save(QString::fromLocal8Bit(argv[2]))) return 1;
    std::printf("editor-demo: wrote %s\n", argv[2]);
    return 0;
}
