#include "ca/app/fees/FeeCommands.h"

#include "ca/app/fees/TfrmFeeDetai.h"
#include "ca/app/fees/TfrmFeeInput.h"
#include "ca/app/fees/TfrmFeeMagAdd.h"
#include "ca/app/main/TfrmMain.h"

namespace ca::app {

void installFeeCommands(TfrmMain& frmMain) {
    Windows& windows = frmMain.windows();
    frmMain.setCommand(MainCommand::FeeInput, [&windows] { windows.open<TfrmFeeInput>(); });
    frmMain.setCommand(MainCommand::FeeQuery, [&windows] { windows.open<TfrmFeeDetai>(); });
    frmMain.setCommand(MainCommand::FeeItemAdd, [&windows] { windows.open<TfrmFeeMagAdd>(); });
}

}  // namespace ca::app
