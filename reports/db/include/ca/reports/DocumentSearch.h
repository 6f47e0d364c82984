#pragma once
// The document query run on the database: the declaration headers a filter finds and the goods lines
// of one of them, each opened on a query object the caller keeps (a window's grid shows its rows).
// Database errors propagate as db::DbError.
#include <string_view>

#include "ca/db/TADOQuery.h"
#include "ca/reports/DocumentQuery.h"

namespace ca::reports {

// Opens headers on the declarations the filter finds.
void findDocuments(db::TADOQuery& headers, const DocumentFilter& filter);

// Opens goods on the goods lines of the declaration with that unified number.
void findGoods(db::TADOQuery& goods, std::string_view tyNo);

}  // namespace ca::reports
