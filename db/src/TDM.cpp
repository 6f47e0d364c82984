#include "ca/db/TDM.h"

#include "ca/db/TADOQuery.h"

namespace ca::db {

TDM& DM() {
    static TDM instance;
    return instance;
}

void DeleteAllDeclarations(TDM& dm) {
    TADOQuery q(dm);
    for (const char* sql :
         {"delete from t_fee ", "delete from t_fee1 ", "delete from loaddata", "delete from subdata"}) {
        q.SetSQL(sql);
        q.ExecSQL();
    }
}

}  // namespace ca::db
