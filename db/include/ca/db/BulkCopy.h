#pragma once
// Rows written into one table in bulk, as a copy between databases writes them: the rows go to the
// engine in large pieces instead of one statement each. A row whose unique key (a unique index of
// the table) another desk has stored in the meantime is passed over, never stored twice; the copy
// itself should leave out rows it knows the table holds. Runs inside the caller's unit.
#include <vector>

#include "ca/db/TField.h"

namespace ca::db {

class BulkCopy {
public:
    virtual ~BulkCopy() = default;
    // One row, its values in the order of the columns the copy was started with. Throws DbError.
    virtual void addRow(const std::vector<Value>& row) = 0;
    // Writes what is still pending and ends the copy; the rows written. Throws DbError: the unit
    // must then be undone (or rolled back to a savepoint taken before the copy).
    virtual int finish() = 0;
};

}  // namespace ca::db
