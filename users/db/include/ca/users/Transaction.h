#pragma once
// One action of several statements as one unit: everything the action ran stays only when it
// reaches commit(); an error (or any return before commit) undoes all of it. Transactions nest: an
// inner one becomes part of the outer one, so an action can be used inside a larger one.
#include "ca/db/TDM.h"

namespace ca::users {

class Transaction {
public:
    // Starts the unit; the outermost one takes the write lock at once, so it waits for another
    // desk's write (the connection's busy timeout) instead of failing midway. Throws DbError.
    explicit Transaction(db::TDM& dm);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Keeps what the action ran. Throws DbError (nothing is kept then).
    void commit();

private:
    void rollback() noexcept;

    db::TADOConnection& conn_;
    bool outermost_;
    bool open_ = true;
};

}  // namespace ca::users
