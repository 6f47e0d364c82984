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

}  // namespace ca::db
