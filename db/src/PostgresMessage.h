#pragma once
// The server's refusals and connection failures in the clerk's language.
#include <string>
#include <string_view>

namespace ca::db {

// What the server reported for a failed statement.
struct ServerError {
    std::string sqlstate;    // five characters
    std::string message;     // primary message
    std::string detail;      // "Key (ty_no)=(x) already exists." and the like
    std::string table;       // table the error is about, lower case
    std::string column;      // column the error is about
    std::string constraint;  // constraint the error is about
    std::string datatype;    // type the error is about
};

// The Chinese text of a statement's failure. Names come back as the statement spells them
// (jetSql) or as the program's tables spell them, not in the server's lower case.
std::string chineseServerMessage(const ServerError& error, std::string_view jetSql);

// True for a failure that a statement text causes (unknown table or column, syntax): its message
// ends with the statement.
bool namesTheStatement(const ServerError& error);

// The reason a connection failed or broke, from libpq's message.
std::string chineseConnectionMessage(std::string_view libpqMessage);

// The spelling of one of the program's table names, or the name as given.
std::string spelledTable(std::string_view lowerName);
// The spelling of a column of one of the program's tables, or the name as given.
std::string spelledColumn(std::string_view lowerTable, std::string_view lowerColumn);

}  // namespace ca::db
