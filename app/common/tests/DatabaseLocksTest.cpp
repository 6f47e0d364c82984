// The database's own files are opened by the database engine only. On Linux, closing any descriptor
// of a file drops every POSIX lock the process holds on it, so a dialog that opened DB.sqlite to
// guess its type would leave the connection's locks gone: another program would then believe it is
// alone with the database (and delete the -wal file with the last changes when it closes).
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "ca/app/common/QtPrompts.h"
#include "ca/db/TADOQuery.h"
#include "ca/db/TDM.h"

namespace fs = std::filesystem;

namespace {

// The POSIX locks the kernel lists for this process on `file` (/proc/locks).
int ourLocksOn(const fs::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return -1;
    std::ifstream in("/proc/locks");
    std::string line;
    int count = 0;
    const std::string pid = std::to_string(::getpid());
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string n, kind, mode, access, owner, dev;
        words >> n >> kind;
        if (kind == "->") words >> kind;  // a waiting lock
        words >> mode >> access >> owner >> dev;
        if (kind != "POSIX" || owner != pid) continue;
        // dev is major:minor:inode
        if (dev.substr(dev.rfind(':') + 1) == std::to_string(st.st_ino)) ++count;
    }
    return count;
}

}  // namespace

TEST(DatabaseLocks, AFileDialogOnTheDatabaseFolderLeavesTheConnectionsLocks) {
    const fs::path dir = fs::temp_directory_path() / ("ca_db_locks_" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path dbFile = dir / "DB.sqlite";
    ca::db::TDM dm(dbFile.string());
    dm.ADOConnection1.execRaw("CREATE TABLE t(a); INSERT INTO t VALUES(1)");
    ASSERT_TRUE(fs::exists(dir / "DB.sqlite-wal"));
    const int dbLocks = ourLocksOn(dbFile), shmLocks = ourLocksOn(dir / "DB.sqlite-shm");
    ASSERT_GT(dbLocks + shmLocks, 0) << "the connection holds locks while open";

    // The dialog the clerk sees when exporting (it starts in the current folder, where the database
    // is) and the entries' open dialog, each left open until it has listed the folder and worked out
    // every file's type and icon, then cancelled.
    ca::app::QtPrompts prompts;
    prompts.setOpenFolder([&] { return dir.string(); });
    const struct {
        const char* dialog;
        std::function<void()> open;
    } dialogs[] = {
        {"save", [&] { prompts.saveFile("导出PDF", "全部文件|*.*", "pdf"); }},
        {"open", [&] { prompts.openFile("", ""); }},
    };
    for (const auto& d : dialogs) {
        bool listed = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog) return;
            dialog->setDirectory(QString::fromStdString(dir.string()));
            auto* model = dialog->findChild<QFileSystemModel*>();
            for (int i = 0; i < 200 && model && !listed; ++i) {
                QApplication::processEvents(QEventLoop::AllEvents, 20);
                ::usleep(10000);
                const QModelIndex type =
                    model->index(QString::fromStdString((dir / "DB.sqlite-shm").string()), 2);
                listed = type.isValid() && !model->data(type).toString().isEmpty();
            }
            QApplication::processEvents(QEventLoop::AllEvents, 100);  // the icons of the rest
            dialog->reject();
        });
        d.open();
        EXPECT_TRUE(listed) << d.dialog;
        EXPECT_EQ(ourLocksOn(dbFile), dbLocks) << d.dialog;
        EXPECT_EQ(ourLocksOn(dir / "DB.sqlite-shm"), shmLocks) << d.dialog;
    }
    fs::remove_all(dir);
}
