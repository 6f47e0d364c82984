#pragma once
// One action of several statements as one unit: everything the action ran stays only when it
// reaches commit(); an error (or any return before commit) undoes all of it. Transactions nest: an
// inner one becomes part of the outer one, so an action can be used inside a larger one. Outside
// a transaction every statement is a unit of its own, so desks sharing a server hold locks no
// longer than one statement.
#include "ca/db/Durability.h"
#include "ca/db/TDM.h"

namespace ca::db {

class Transaction {
public:
    // Starts the unit; on a SQLite file the outermost one takes the write lock at once, so it
    // waits for another desk's write (the busy timeout) instead of failing midway. Throws DbError.
    // An inner unit is kept as the outer one is.
    explicit Transaction(TDM& dm, Durability durability = Durability::Full);
    explicit Transaction(TADOConnection& connection, Durability durability = Durability::Full);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Keeps what the action ran. Throws DbError (nothing is kept then).
    void commit();

private:
    void rollback() noexcept;

    TADOConnection& conn_;
    bool outermost_;
    bool open_ = true;
};

}  // namespace ca::db
