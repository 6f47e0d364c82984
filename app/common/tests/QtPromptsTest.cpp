#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "ca/app/common/QtPrompts.h"
#include "ca/app/common/WaitCursor.h"

namespace fs = std::filesystem;

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

// The save dialog adds the default suffix to a bare name and takes an existing file without asking
// about replacing it; while it is up the wait cursor is lifted, and it comes back afterwards.
TEST(QtPrompts, SaveDialogAddsTheSuffixNeverAsksAboutAnExistingFileAndLiftsTheWaitCursor) {
    const fs::path dir = fs::temp_directory_path() / "ca_qtprompts_save";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "old.xls") << "x";

    bool cursorLifted = false, dialogSeen = false, askedAgain = false;
    QTimer answer;
    answer.setSingleShot(true);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        cursorLifted = QApplication::overrideCursor() == nullptr;
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        dialogSeen = true;
        d->setDirectory(QString::fromStdString(dir.string()));
        d->selectFile("old");
        QMetaObject::invokeMethod(d, "accept");
    });
    // A question box about the existing file would block accept(): close it and note it.
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        if (auto* w = QApplication::activeModalWidget(); w && !qobject_cast<QFileDialog*>(w)) {
            askedAgain = true;
            w->close();
        }
    });
    watchdog.start(50);
    answer.start(0);

    ca::app::QtPrompts prompts;
    std::string chosen;
    {
        ca::app::WaitCursor busy;
        chosen = prompts.saveFile("保存", "Excel文件|*.xls", "xls");
        EXPECT_NE(QApplication::overrideCursor(), nullptr) << "the wait cursor is back after the dialog";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(dialogSeen);
    EXPECT_TRUE(cursorLifted);
    EXPECT_FALSE(askedAgain);
    EXPECT_EQ(fs::path(chosen), dir / "old.xls");
    fs::remove_all(dir);
}

// Qt's own dialogs in Chinese, and the open dialog in the folder it is given.
TEST(QtPrompts, StandardDialogsSpeakChineseAndTheOpenDialogStartsInItsFolder) {
    ASSERT_TRUE(ca::app::installQtChineseTranslation()) << "qt6-translations-l10n (scripts/common.sh)";
    QMessageBox box(QMessageBox::Question, "t", "x", QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith("是"))
        << box.button(QMessageBox::Yes)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith("否"))
        << box.button(QMessageBox::No)->text().toStdString();

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

// A box appears over the window the clerk works in, the one whose command raised it; only with no
// window of the program active does it go over the main window it was given.
TEST(QtPrompts, ABoxAppearsOverTheWindowThatRaisedIt) {
    QWidget main, query;
    main.show();
    query.show();
    ca::app::QtPrompts prompts;
    prompts.setParent(&main);
    QWidget* shownOver = nullptr;
    const auto answer = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shownOver = box->parentWidget();
                box->accept();
            }
        });
    };
    query.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&query));
    answer();
    prompts.warning("找不到报关单", "");
    EXPECT_EQ(shownOver, &query);

    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    answer();
    EXPECT_EQ(prompts.question("确定吗？", ""), ca::Button::No);
    EXPECT_EQ(shownOver, &main);
}
