// SPDX-FileCopyrightText: 2026 Course testing developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Qt's own texts on the program's message boxes and file dialog are Russian once the program's
// start-up has installed Qt's translations.

#include "platform/russian_ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace {
QString Shown(const QAbstractButton* button) {
    return button == nullptr ? QString() : button->text().remove(QLatin1Char('&'));
}
} // namespace

class TestRussianUi : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(InstallRussianTranslations().contains(QStringLiteral("qtbase")));
    }

    void messageBoxButtonsAreRussian_data() {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("text");
        QTest::newRow("Yes") << int(QMessageBox::Yes) << QStringLiteral("Да");
        QTest::newRow("No") << int(QMessageBox::No) << QStringLiteral("Нет");
        QTest::newRow("Cancel") << int(QMessageBox::Cancel) << QStringLiteral("Отмена");
        QTest::newRow("Close") << int(QMessageBox::Close) << QStringLiteral("Закрыть");
    }
    void messageBoxButtonsAreRussian() {
        QFETCH(int, button);
        QFETCH(QString, text);
        QMessageBox box;
        box.setStandardButtons(QMessageBox::StandardButton(button));
        QCOMPARE(Shown(box.button(QMessageBox::StandardButton(button))), text);
    }

    void fileDialogIsRussian() {
        // The dialog Qt draws itself, as the program shows it without a desktop's own dialog.
        QFileDialog dialog(nullptr, QStringLiteral("Открытие файла"), QDir::tempPath(),
                           QStringLiteral("Файлы отчетов (*.txt)"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::ExistingFile);
        const auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QVERIFY(buttons != nullptr);
        QCOMPARE(Shown(buttons->button(QDialogButtonBox::Cancel)), QStringLiteral("Отмена"));
        QCOMPARE(Shown(buttons->button(QDialogButtonBox::Open)), QStringLiteral("Открыть"));
        const auto* lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        QVERIFY(lookIn != nullptr);
        QVERIFY2(!lookIn->text().contains(QStringLiteral("Look in")), qPrintable(lookIn->text()));
    }
};

QTEST_MAIN(TestRussianUi)
#include "tst_russian_ui.moc"
