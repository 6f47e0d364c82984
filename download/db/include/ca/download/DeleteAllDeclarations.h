#pragma once
// Emptying the declarations the download stored, with their fee rows.
#include "ca/db/TDM.h"

namespace ca::download {

// Every row of T_fee, T_fee1, LoadData and subData, in this order, each statement on its own. A
// failing statement ends it; those before stay done.
void DeleteAllDeclarations(db::TDM& dm);

}  // namespace ca::download
