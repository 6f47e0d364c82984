#include "ca/app/users/UserCommands.h"

#include "ca/app/main/TfrmMain.h"
#include "ca/app/users/MenuReveal.h"
#include "ca/app/users/TfrmChangPW.h"
#include "ca/app/users/TfrmLogin.h"
#include "ca/app/users/TfrmUserMag.h"
#include "ca/util/Settings.h"

namespace ca::app {

void installUserCommands(TfrmMain& frmMain, Prompts& prompts, db::TDM& dm, const users::CurrentUser& user) {
    frmMain.setCommand(MainCommand::UserManagement, [&frmMain, &prompts, &dm] {
        frmMain.windows().open<TfrmUserMag>([&prompts, &dm] { return new TfrmUserMag(prompts, dm); });
    });
    frmMain.setCommand(MainCommand::ChangePassword, [&frmMain, &prompts, &dm, &user] {
        frmMain.windows().open<TfrmChangPW>(
            [&prompts, &dm, &user] { return new TfrmChangPW(prompts, dm, user); });
    });
}

void offerLogIn(TfrmMain& frmMain, Prompts& prompts, db::TDM& dm, users::CurrentUser& user) {
    if (!settings::logInAtStart(frmMain.iniFile())) return;
    TfrmLogin dialog(prompts, dm, user, &frmMain);
    if (dialog.exec() == QDialog::Accepted) revealMenus(frmMain, users::menuAccessFor(user));
}

}  // namespace ca::app
