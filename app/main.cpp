// customs-assistant: the program entry. Creates the main window on config.ini next to the
// executable and runs until the main window closes.
#include <QApplication>
#include <QTimer>

#include "ca/app/client/CustomsClient.h"
#include "ca/app/common/AppContext.h"
#include "ca/app/common/QtPrinter.h"
#include "ca/app/common/QtPrompts.h"
#include "ca/app/main/DatabaseCommands.h"
#include "ca/app/main/DownloadCommand.h"
#include "ca/app/main/EntryCommand.h"
#include "ca/app/main/TfrmMain.h"
#include "ca/app/main/WindowTable.h"
#include "ca/automation/Lookup.h"
#include "ca/util/Clock.h"
#include "ca/util/Folders.h"
#include "ca/util/MessageBoxes.h"
#include "ca/util/Settings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ca::kAppTitle);
    // Qt's own buttons and dialogs in Chinese (是, 否, 确定, 打开).
    ca::app::installQtChineseTranslation();

    auto exeDir = ca::pathFromUtf8(QCoreApplication::applicationDirPath().toStdString());
    // The data module comes first; its connection opens with the first statement, on the database
    // server of config.ini when one is set.
    ca::db::TDM& dm = ca::db::DM(ca::db::DatabaseTarget(ca::IniFile(ca::settings::configPathFor(exeDir))));

    ca::app::QtPrompts prompts;
    // Entry and download wait on this clock inside their click handler; the window keeps painting
    // and its Stop button keeps working meanwhile.
    ca::SteadyClock clock;
    clock.setIdleHook([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); });

    ca::app::QtPrinter printer;

    // Nobody is logged in unless the optional log-in at start says otherwise.
    ca::users::CurrentUser currentUser;
    ca::app::AppContext ctx(prompts, dm, clock, printer, currentUser, ca::settings::configPathFor(exeDir));
    ca::app::TfrmMain frmMain(ctx);
    prompts.setParent(&frmMain);
    // The entries' open dialog starts among the files still to be entered.
    prompts.setOpenFolder([&frmMain] { return frmMain.unimportedFolder(); });
    ca::app::connectDatabaseCommands(frmMain, dm);
    // Which window each menu item opens and which window answers another's request.
    ca::app::installWindows(frmMain);

    // The customs client: the real one on Windows, the demo stand-in in the Linux build.
    std::unique_ptr<ca::app::CustomsClient> client = ca::app::openCustomsClient(clock, exeDir);
    ca::automation::Desktop& desktop = client->desktop();
    ca::app::installEntryCommands(frmMain, desktop);
    ca::app::installDownloadCommand(frmMain, desktop, dm);
    frmMain.setClassLister([&desktop](const std::string& processName) {
        return ca::automation::ListClientClassNames(desktop, processName);
    });

    client->attach(frmMain, prompts);
    frmMain.show();
    client->shown(frmMain, prompts);
    // After the first showing, so that the database opens in the imported folder as always.
    QTimer::singleShot(0, &frmMain, [&frmMain] { ca::app::offerLogIn(frmMain); });
    return QApplication::exec();
}
