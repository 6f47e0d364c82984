#include "ca/app/main/DatabaseCommands.h"

namespace ca::app {

void connectDatabaseCommands(TfrmMain& window, db::TDM& dm) {
    window.setCommand(MainCommand::DeleteAll, [&dm] { db::DeleteAllDeclarations(dm); });
}

}  // namespace ca::app
