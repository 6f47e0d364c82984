// customs-assistant: the program entry. Creates the main window on config.ini next to the
// executable and runs until the main window closes.
#include <QApplication>

#include "ca/app/QtPrompts.h"
#include "ca/app/TfrmMain.h"
#include "ca/util/Clock.h"
#include "ca/util/Folders.h"
#include "ca/util/MessageBoxes.h"
#include "ca/util/Settings.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ca::kAppTitle);

    ca::app::QtPrompts prompts;
    // Entry and download wait on this clock inside their click handler; the window keeps painting
    // and its Stop button keeps working meanwhile.
    ca::SteadyClock clock;
    clock.setIdleHook([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); });

    auto exeDir = ca::pathFromUtf8(QCoreApplication::applicationDirPath().toStdString());
    ca::app::TfrmMain frmMain(prompts, clock, ca::settings::configPathFor(exeDir));
    prompts.setParent(&frmMain);
    frmMain.show();
    return QApplication::exec();
}
