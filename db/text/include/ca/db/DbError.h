#pragma once
// The one error type of the database layer: a statement the engine refuses, a value a column cannot
// take, a file that cannot be opened. The text says what failed and is shown to the clerk as it is.
#include <stdexcept>
#include <string>

namespace ca::db {

class DbError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The statement waited for a lock another desk (or program) held and gave up: nothing of the
// statement was done, and the same work may succeed when it is tried again.
class DbBusy : public DbError {
public:
    using DbError::DbError;
};

// The connection to the database server broke. Inside a unit of work the server has undone the
// unit, and the connection is not opened again before the unit has ended: nothing of the unit
// remains, and no statement of it may run outside it. Not the fault of any row or value.
class DbConnectionLost : public DbError {
public:
    using DbError::DbError;
};

}  // namespace ca::db
