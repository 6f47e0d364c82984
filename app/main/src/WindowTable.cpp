#include "ca/app/main/WindowTable.h"

#include "ca/app/common/Windows.h"
#include "ca/app/fees/TfrmFeeDetai.h"
#include "ca/app/fees/TfrmFeeInput.h"
#include "ca/app/fees/TfrmFeeMagAdd.h"
#include "ca/app/main/TfrmMain.h"
#include "ca/app/reports/TfrmDataDetail.h"
#include "ca/app/reports/TfrmEportData.h"
#include "ca/app/users/MenuReveal.h"
#include "ca/app/users/TfrmChangPW.h"
#include "ca/app/users/TfrmLogin.h"
#include "ca/app/users/TfrmUserMag.h"
#include "ca/util/Settings.h"

namespace ca::app {

namespace {

template <class W>
void opens(TfrmMain& frmMain, MainCommand command) {
    frmMain.setCommand(command, [&frmMain] { frmMain.windows().open<W>(); });
}

}  // namespace

void provideWindowRoles(Windows& windows) {
    windows.provide<DeclarationDetails, TfrmDataDetail>();
    windows.provide<FeeEntry, TfrmFeeInput>();
}

void installWindows(TfrmMain& frmMain) {
    provideWindowRoles(frmMain.windows());
    opens<TfrmDataDetail>(frmMain, MainCommand::DocumentQuery);
    opens<TfrmEportData>(frmMain, MainCommand::BusinessData);
    opens<TfrmFeeInput>(frmMain, MainCommand::FeeInput);
    opens<TfrmFeeDetai>(frmMain, MainCommand::FeeQuery);
    opens<TfrmFeeMagAdd>(frmMain, MainCommand::FeeItemAdd);
    opens<TfrmUserMag>(frmMain, MainCommand::UserManagement);
    opens<TfrmChangPW>(frmMain, MainCommand::ChangePassword);
}

void offerLogIn(TfrmMain& frmMain) {
    AppContext& ctx = frmMain.context();
    if (!settings::logInAtStart(frmMain.iniFile())) return;
    TfrmLogin dialog(ctx, &frmMain);
    if (dialog.exec() == QDialog::Accepted) revealMenus(frmMain, users::menuAccessFor(ctx.currentUser()));
}

}  // namespace ca::app
