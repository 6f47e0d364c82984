#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "ca/app/common/QtPrompts.h"

TEST(QtPrompts, DialogFilterInQtForm) {
    struct Case {
        const char* given;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"Excel文件|*.xls", "Excel文件 (*.xls)"},
        {"Excel|*.xls;*.xlsx|全部文件|*.*", "Excel (*.xls *.xlsx);;全部文件 (*.*)"},
        {"Excel (*.xls)", "Excel (*.xls)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ca::app::QtPrompts::dialogFilter(c.given).toStdString(), c.expected) << c.given;
}

// Qt's own dialogs in Chinese, and the open dialog in the folder it is given.
TEST(QtPrompts, StandardDialogsSpeakChineseAndTheOpenDialogStartsInItsFolder) {
    ASSERT_TRUE(ca::app::installQtChineseTranslation()) << "qt6-translations-l10n (scripts/common.sh)";
    QMessageBox box(QMessageBox::Question, "t", "x", QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith("是"))
        << box.button(QMessageBox::Yes)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith("否")) << box.button(QMessageBox::No)->text().toStdString();

    const QString folder = QDir::temp().filePath("ca_qtprompts_open");
    QDir().mkpath(folder);
    ca::app::QtPrompts prompts;
    prompts.setOpenFolder([&] { return folder.toStdString(); });
    QString shownFolder, openText;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            shownFolder = dialog->directory().absolutePath();
            if (auto* open = dialog->findChild<QDialogButtonBox*>())
                openText = open->buttons().first()->text();
            dialog->reject();
        }
    });
    EXPECT_EQ(prompts.openFile("", ""), "");
    EXPECT_EQ(shownFolder.toStdString(), QDir(folder).absolutePath().toStdString());
    EXPECT_TRUE(openText.startsWith("打开")) << openText.toStdString();
    QDir(folder).removeRecursively();
}
