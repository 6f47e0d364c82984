#include "ca/app/users/UserCommands.h"

#include "ca/app/main/TfrmMain.h"
#include "ca/app/users/MenuReveal.h"
#include "ca/app/users/TfrmChangPW.h"
#include "ca/app/users/TfrmLogin.h"
#include "ca/app/users/TfrmUserMag.h"
#include "ca/util/Settings.h"

namespace ca::app {

void installUserCommands(TfrmMain& frmMain) {
    frmMain.setCommand(MainCommand::UserManagement, [&frmMain] { frmMain.windows().open<TfrmUserMag>(); });
    frmMain.setCommand(MainCommand::ChangePassword, [&frmMain] { frmMain.windows().open<TfrmChangPW>(); });
}

void offerLogIn(TfrmMain& frmMain) {
    AppContext& ctx = frmMain.context();
    if (!settings::logInAtStart(frmMain.iniFile())) return;
    TfrmLogin dialog(ctx, &frmMain);
    if (dialog.exec() == QDialog::Accepted) revealMenus(frmMain, users::menuAccessFor(ctx.currentUser()));
}

}  // namespace ca::app
