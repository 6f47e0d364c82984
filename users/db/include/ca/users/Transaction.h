#pragma once
// The transaction helper lives in the database layer; this name stays for the callers of users.
#include "ca/db/Transaction.h"

namespace ca::users {

using Transaction = db::Transaction;

}  // namespace ca::users
