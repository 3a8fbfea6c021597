// SPDX-License-Identifier: GPL-3.0-or-later
// editor-demo DATA_DIR OUTPUT.png [FIT.png]
//
// Starts the main window on copies of the catalogues in DATA_DIR, opens Catalogues > Edit…,
// duplicates a motor, renames the copy and types a kv of 0 into it, as a user does, and saves a
// picture of the editor showing the finding at that field. With FIT.png, it then opens the Fans
// tab's "Fit from points…", types the README's illustrative points of the 80 mm fan, fits them
// and saves a picture of that window with the residuals. DATA_DIR itself is never written.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "ui/CatalogueEditor.h"
#include "ui/FanFitDlg.h"
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
    if (argc < 4) return 0;

    editor->findChild<QTabWidget*>(QStringLiteral("catalogueTabs"))->setCurrentIndex(2);
    editor->findChild<QPushButton*>(QStringLiteral("fitFromPoints"))->click();
    auto* fit = editor->findChild<FanFitDlg*>();
    const char* points[][3] = {{"60", "11500", ""},       {"120", "14410", ""},
                               {"250", "18490", "850"},   {"500", "23200", "1350"},
                               {"900", "28310", "2000"},  {"1500", "33400", "2830"},
                               {"2500", "39760", "3940"}, {"4000", "46360", "5430"}};
    auto* cells = fit->findChild<QTableWidget*>(QStringLiteral("points"));
    for (int r = 0; r < 8; ++r) {
        for (int c = 0; c < 3; ++c) {
            cells->model()->setData(cells->model()->index(r, c), QString::fromLatin1(points[r][c]));
        }
    }
    fit->findChild<QLineEdit*>(QStringLiteral("name"))->setText(QStringLiteral("Fan 80 mm b"));
    fit->findChild<QLineEdit*>(QStringLiteral("diameter"))->setText(QStringLiteral("79"));
    fit->findChild<QLineEdit*>(QStringLiteral("hub"))->setText(QStringLiteral("36"));
    fit->fit();
    fit->resize(560, 600);
    QApplication::processEvents();
    if (!fit->grab().save(QString::fromLocal8Bit(argv[3]))) return 1;
    std::printf("editor-demo: wrote %s\n", argv[3]);
    return 0;
}
