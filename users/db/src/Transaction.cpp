#include "ca/users/Transaction.h"

#include <sqlite3.h>

namespace ca::users {

namespace {
constexpr const char* kSavepoint = "ca_action";
}

Transaction::Transaction(db::TDM& dm)
    : conn_(dm.ADOConnection1), outermost_(sqlite3_get_autocommit(conn_.handle()) != 0) {
    conn_.execRaw(outermost_ ? std::string("BEGIN IMMEDIATE") : std::string("SAVEPOINT ") + kSavepoint);
}

Transaction::~Transaction() {
    if (open_) rollback();
}

void Transaction::commit() {
    try {
        conn_.execRaw(outermost_ ? std::string("COMMIT") : std::string("RELEASE ") + kSavepoint);
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
            if (sqlite3_get_autocommit(conn_.handle()) == 0) conn_.execRaw("ROLLBACK");
        } else {
            conn_.execRaw(std::string("ROLLBACK TO ") + kSavepoint);
            conn_.execRaw(std::string("RELEASE ") + kSavepoint);
        }
    } catch (...) {
        // The engine ends a transaction it cannot keep by itself; nothing else is left to undo.
    }
}

}  // namespace ca::users
