#include "ca/db/Transaction.h"

#include "Engine.h"

namespace ca::db {

namespace {
constexpr const char* kSavepoint = "ca_action";
}

Transaction::Transaction(TDM& dm, Durability durability) : Transaction(dm.ADOConnection1, durability) {}

Transaction::Transaction(TADOConnection& connection, Durability durability)
    : conn_(connection), outermost_(!connection.engine().inTransaction()) {
    if (outermost_)
        conn_.engine().begin(durability);
    else
        conn_.execRaw(std::string("SAVEPOINT ") + kSavepoint);
}

Transaction::~Transaction() {
    if (open_) rollback();
}

void Transaction::commit() {
    try {
        if (outermost_)
            conn_.engine().commit();
        else
            conn_.execRaw(std::string("RELEASE ") + kSavepoint);
        open_ = false;
    } catch (...) {
        rollback();
        throw;
    }
}

void Transaction::rollback() noexcept {
    open_ = false;
    try {
        if (outermost_) {
            conn_.RollbackUnit();
        } else {
            conn_.execRaw(std::string("ROLLBACK TO ") + kSavepoint);
            conn_.execRaw(std::string("RELEASE ") + kSavepoint);
        }
    } catch (...) {
        // The engine ends a transaction it cannot keep by itself; nothing else is left to undo.
    }
}

}  // namespace ca::db
