#pragma once
// How a database is named (see also IsServerTarget in TADOConnection.h and DatabaseTarget in
// TDM.h): a path naming a desk's file, or a PostgreSQL server as libpq reads it — keyword/value
// pairs with optional blanks around "=", a postgresql:// or postgres:// address — or a bare host
// name or address, which stands for "host=<name>".
#include <optional>
#include <string>
#include <string_view>

namespace ca::db {

// The libpq connection string of a server target: the text itself, or "host=<name>" for a bare
// host name or address.
std::string ServerConnectionString(std::string_view target);

// Why a connection text cannot be used, in a sentence that shows none of its values (so no
// password); empty when it can. Refused wherever it is given (the command line's --db, the setting
// 数据库服务器): the semicolon form of ADO and ODBC ("Provider=…;Password=…;Data Source=…",
// "Server=…;Uid=…;Pwd=…;"), which is never a file name, and a postgresql:// address with more than
// one "@" before its host (an "@" of the password not written as %40).
std::string ConnectionTextRefusal(std::string_view text);

// Why `target` names neither a server nor a desk's file; empty when it names one. Besides what
// ConnectionTextRefusal refuses: a bare word without a file ending that is neither a host name nor
// an existing file (e.g. "服务器"), for which a file would otherwise be created.
std::string TargetRefusal(std::string_view target);

// `text` with every password that `target` holds replaced by "******": the libpq password (quoted,
// unquoted, or an unquoted one with blanks that libpq cuts short), the password of a postgresql://
// address, and a "password=…;" or "pwd=…;" part of the old program's semicolon form. Every text
// that shows or quotes the target goes through this.
std::string HidePasswords(std::string text, std::string_view target);

// The 数据库服务器 setting as the settings window shows it: every password it holds as "******".
std::string MaskedServerSetting(std::string_view stored);

// The setting to store after the masked text was edited into `edited`: where it still shows
// "******", the stored password stands; a text without "******" is taken as typed (a new password,
// or none). nullopt when the text keeps "******" but the stored setting held more than one
// different password, so that it cannot be told which one is meant.
std::optional<std::string> UnmaskedServerSetting(std::string_view edited, std::string_view stored);

}  // namespace ca::db
