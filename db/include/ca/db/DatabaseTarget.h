#pragma once
// How a database is named (see also IsServerTarget in TADOConnection.h and DatabaseTarget in
// TDM.h): a path naming a desk's file, or a PostgreSQL server as libpq reads it — keyword/value
// pairs with optional blanks around "=", a postgresql:// or postgres:// address — or a bare host
// name or address, which stands for "host=<name>".
#include <string>
#include <string_view>

namespace ca::db {

// The libpq connection string of a server target: the text itself, or "host=<name>" for a bare
// host name or address.
std::string ServerConnectionString(std::string_view target);

// `text` with every password that `target` holds replaced by "******": the libpq password (quoted,
// unquoted, or an unquoted one with blanks that libpq cuts short), the password of a postgresql://
// address, and a "password=…;" or "pwd=…;" part of the old program's semicolon form. Every text
// that shows or quotes the target goes through this.
std::string HidePasswords(std::string text, std::string_view target);

}  // namespace ca::db
