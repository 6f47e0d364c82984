#include "ca/app/main/DatabaseCommands.h"
#include "ca/download/DeleteAllDeclarations.h"

namespace ca::app {

void connectDatabaseCommands(TfrmMain& window, db::TDM& dm) {
    window.setCommand(MainCommand::DeleteAll, [&dm] { download::DeleteAllDeclarations(dm); });
}

}  // namespace ca::app
