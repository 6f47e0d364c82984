#include "ca/download/DeleteAllDeclarations.h"

#include "ca/db/TADOQuery.h"

namespace ca::download {

void DeleteAllDeclarations(db::TDM& dm) {
    db::TADOQuery q(dm);
    for (const char* sql :
         {"delete from t_fee ", "delete from t_fee1 ", "delete from loaddata", "delete from subdata"}) {
        q.SetSQL(sql);
        q.ExecSQL();
    }
}

}  // namespace ca::download
