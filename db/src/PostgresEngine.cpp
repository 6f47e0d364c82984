#include "PostgresEngine.h"

#include <libpq-fe.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>

#include "JetLexer.h"
#include "JetTranslator.h"
#include "PostgresFunctions.h"
#include "PostgresMessage.h"
#include "ca/db/DatabaseTarget.h"
#include "ca/db/DbError.h"
#include "ca/db/Quoting.h"
#include "ca/db/Schema.h"
#include "ca/db/ServerProbe.h"

namespace ca::db {

namespace {

// Type numbers of the server's built-in types.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700;

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

std::string diag(const PGresult* r, int field) {
    const char* v = PQresultErrorField(r, field);
    return v ? v : "";
}

// What the server reported for a failed statement.
ServerError serverError(const PGresult* r, PGconn* conn) {
    ServerError e{diag(r, PG_DIAG_SQLSTATE),       diag(r, PG_DIAG_MESSAGE_PRIMARY),
                  diag(r, PG_DIAG_MESSAGE_DETAIL), diag(r, PG_DIAG_TABLE_NAME),
                  diag(r, PG_DIAG_COLUMN_NAME),    diag(r, PG_DIAG_CONSTRAINT_NAME),
                  diag(r, PG_DIAG_DATATYPE_NAME)};
    if (e.message.empty()) e.message = PQerrorMessage(conn);
    return e;
}

// The connection string without its password, as messages show the server.
std::string describeTarget(const std::string& target) {
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(target.c_str(), &error);
    if (!options) {
        const std::string why = HidePasswords(chineseConnectionMessage(error ? error : ""), target);
        PQfreemem(error);
        return "（无法读取的连接设置：" + why + "）";
    }
    std::string out;
    for (const char* key : {"host", "hostaddr", "port", "dbname", "user", "service"}) {
        for (PQconninfoOption* o = options; o->keyword; ++o) {
            if (std::string_view(o->keyword) != key || !o->val || !*o->val) continue;
            if (!out.empty()) out += ' ';
            out += std::string(key) + "=" + o->val;
        }
    }
    PQconninfoFree(options);
    return out.empty() ? std::string("默认服务器") : HidePasswords(out, target);
}

// A statement that gives rows: the server reports that only once it has run, but a query
// object must know before, to refuse opening a statement that changes data without running it.
bool givesRows(const std::string& sql) {
    size_t i = sql.find_first_not_of(" \t\r\n(");
    if (i == std::string::npos) return false;
    size_t e = i;
    while (e < sql.size() && std::isalpha(static_cast<unsigned char>(sql[e])))
        ++e;
    const std::string word = toLowerAscii(sql.substr(i, e - i));
    return word == "select" || word == "with" || word == "values" || word == "show" || word == "table" ||
           word == "explain";
}

class PostgresEngine;

// One statement: its text split at the parameters. A run joins the bound values in as literals
// of no declared type, which the server types from where they stand, exactly as it types the
// values the windows join into their statements themselves.
class PostgresStatement : public EngineStatement {
public:
    PostgresStatement(PostgresEngine& engine, const std::string& sql, const std::string& jetSql);

    const std::vector<std::string>& parameterNames() const override { return names_; }
    void bindText(int i, std::string_view v) override { values_[static_cast<size_t>(i - 1)] = QuotedStr(v); }
    void bindInteger(int i, std::int64_t v) override {
        values_[static_cast<size_t>(i - 1)] = "'" + std::to_string(v) + "'";
    }
    void bindReal(int i, double v) override {
        char buf[40];
        std::snprintf(buf, sizeof buf, "'%.17g'", v);
        values_[static_cast<size_t>(i - 1)] = buf;
    }
    void bindNull(int i) override { values_[static_cast<size_t>(i - 1)] = "NULL"; }

    bool step() override;
    int columnCount() const override {
        if (!result_) return givesRows_ ? 1 : 0;
        return PQnfields(result_.get());
    }
    std::string columnName(int c) const override;
    CellType columnType(int c) const override {
        if (PQgetisnull(result_.get(), row_, c)) return CellType::Null;
        switch (PQftype(result_.get(), c)) {
            case kInt2:
            case kInt4:
            case kInt8:
            case kBool:
                return CellType::Integer;
            case kFloat4:
            case kFloat8:
            case kNumeric:
                return CellType::Real;
            default:
                return CellType::Text;
        }
    }
    std::int64_t columnInteger(int c) const override {
        const char* v = PQgetvalue(result_.get(), row_, c);
        if (PQftype(result_.get(), c) == kBool) return *v == 't' ? 1 : 0;
        return std::strtoll(v, nullptr, 10);
    }
    double columnReal(int c) const override {
        return std::strtod(PQgetvalue(result_.get(), row_, c), nullptr);
    }
    std::string_view columnText(int c) const override {
        return {PQgetvalue(result_.get(), row_, c), static_cast<size_t>(PQgetlength(result_.get(), row_, c))};
    }
    int changes() const override { return changes_; }
    void rewind() override {
        result_.reset();
        row_ = -1;
        changes_ = 0;
        for (auto& v : values_)
            v.clear();
    }

private:
    PostgresEngine& engine_;
    std::string jetSql_;
    std::vector<std::string> pieces_;       // text before each parameter, and after the last
    std::vector<std::string> names_;        // ":name" of each parameter
    std::vector<std::string> values_;       // the bound literal of each parameter
    std::vector<std::string> selectWords_;  // names of the statement's select list as written
    bool givesRows_;
    Result result_;
    int row_ = -1;
    int changes_ = 0;
};

// What a connection finds in the schema it uses.
struct SchemaFinding {
    enum Kind { Ours, Empty, Older, Foreign } kind;  // Older: upgraded at opening
    std::string why;                                 // Foreign: what is wrong, as refuseSchema words it
};

class PostgresEngine : public Engine {
public:
    // `setUp`: the first connection sets up an empty database and upgrades an older one; without
    // it, a connection only looks (ProbeServer). `connectTimeout`: seconds, unless the target names
    // its own connect_timeout.
    explicit PostgresEngine(std::string target, bool setUp = true, int connectTimeout = 10)
        : target_(std::move(target)),
          name_(describeTarget(target_)),
          setUp_(setUp),
          connectTimeout_(std::to_string(connectTimeout)) {}
    ~PostgresEngine() override { close(); }

    void open() override;
    bool isOpen() const override { return conn_ != nullptr; }
    std::string displayName() const override { return name_; }
    const Dialect& dialect() const override { return dialect_; }
    std::unique_ptr<EngineStatement> prepare(const std::string& sql, const std::string& jetSql) override {
        if (sql.find('\0') != std::string::npos) throw DbError("语句中有空字符（\\0），无法执行：" + jetSql);
        open();
        return std::make_unique<PostgresStatement>(*this, sql, jetSql);
    }
    void exec(const std::string& sql) override { run(sql, sql, false); }
    std::optional<std::vector<ColumnInfo>> tableColumns(std::string_view table) override;
    bool inTransaction() override {
        if (lostInUnit_) return true;
        open();
        return beginPending_ != nullptr || PQtransactionStatus(conn_) != PQTRANS_IDLE;
    }
    // The BEGIN travels with the unit's first statement (one round trip less per unit); a unit
    // that ran nothing ends without reaching the server. A new unit is where a connection that
    // broke is opened again.
    void begin(Durability durability) override {
        lostInUnit_ = false;
        open();
        if (PQtransactionStatus(conn_) != PQTRANS_IDLE) throw DbError("数据库服务器上已经有一个未结束的事务");
        beginPending_ = durability == Durability::Refetchable
                            ? "BEGIN; SET LOCAL synchronous_commit TO off;\n"
                            : "BEGIN;\n";
        unitOpen_ = true;
    }
    void commit() override { end(true); }
    void rollback() override { end(false); }

    void lockDeclarations(const std::vector<std::string>& keys) override;
    void refreshStatistics(const std::vector<std::string>& tables) override;
    std::unique_ptr<BulkCopy> bulkCopy(const std::string& table,
                                       const std::vector<std::string>& columns) override;
    std::string version() override {
        open();
        const char* v = PQparameterStatus(conn_, "server_version");
        std::string text = v ? v : "";
        return "PostgreSQL " + text.substr(0, text.find(' '));
    }
    void setLockWait(int milliseconds) override {
        lockWait_ = milliseconds;
        if (conn_) exec("SET lock_timeout = " + std::to_string(milliseconds));
    }
    // A default of 0 gives the rows there 0 without writing them (the server keeps it with the
    // column); dropping it again leaves new rows empty unless given a value. Both take a moment
    // whatever the table's size, so the unit holds the table only briefly.
    bool addColumnOfZeros(const std::string& addSql, const std::string& table,
                          const std::string& column) override {
        exec(addSql + " DEFAULT 0");
        exec("ALTER TABLE " + table + " ALTER COLUMN " + column + " DROP DEFAULT");
        return true;
    }
    // Sends `data` (rows in COPY's text form) with one COPY statement `sql ... FROM STDIN`.
    // Throws DbError.
    void copyIn(const std::string& sql, const std::string& data);

    // Runs one statement (oneStatement) or a script. Throws DbError; a connection that broke is
    // closed, and the next statement connects again.
    Result run(const std::string& sql, const std::string& jetSql, bool oneStatement = true);
    // The name of the table a result column comes from, lower case; empty when none.
    std::string tableOf(Oid table);
    // What the schema the connection uses holds, without changing anything.
    SchemaFinding inspectSchema();

private:
    void close() {
        if (conn_) PQfinish(conn_);
        conn_ = nullptr;
        beginPending_ = nullptr;
        tableNames_.clear();
    }
    // Ends the unit: keeps it (COMMIT) or undoes it. A unit the server has not seen yet just ends
    // here; one whose connection broke was undone by the server, and keeping it fails.
    void end(bool keep);
    // The text of a unit whose connection broke.
    std::string lostUnitMessage(const std::string& why) const {
        return "与数据库服务器“" + name_ + "”的连接中断" + (why.empty() ? std::string() : "：" + why) +
               "。事务没有完成，其中的改动都没有保存";
    }
    // True when the statement's failure means the connection is gone: libpq lost it, or the
    // server ended the session (terminated, shut down) and closes it.
    bool connectionGone(const PGresult* r) const {
        if (PQstatus(conn_) != CONNECTION_OK) return true;
        const std::string state = diag(r, PG_DIAG_SQLSTATE);
        return state.starts_with("08") || state == "57P01" || state == "57P02" || state == "57P03";
    }
    Result query(const std::string& sql);
    [[noreturn]] void throwServerError(const ServerError& e, const std::string& jetSql);
    [[noreturn]] void throwConnectionBroken();
    void checkOrCreateSchema();
    std::string schemaVersion();
    std::map<std::string, std::set<std::string>> tablesPresent();
    std::string foreignObject();
    std::string functionsSql();
    void upgrade();
    [[noreturn]] void refuseSchema(const std::string& why);

    std::string target_;
    std::string name_;
    bool setUp_;
    std::string connectTimeout_;
    PGconn* conn_ = nullptr;
    // The start of the unit that begin() asked for and the server has not seen yet, or null.
    const char* beginPending_ = nullptr;
    // A unit has begun and not yet ended.
    bool unitOpen_ = false;
    // The connection broke inside the open unit: no statement connects again until the unit has
    // ended, so nothing meant for the unit runs outside it. Holds the reason shown.
    bool lostInUnit_ = false;
    std::string lostWhy_;
    int lockWait_ = 5000;
    PostgresDialect dialect_;
    std::map<Oid, std::string> tableNames_;
};

PostgresStatement::PostgresStatement(PostgresEngine& engine, const std::string& sql,
                                     const std::string& jetSql)
    : engine_(engine), jetSql_(jetSql), givesRows_(givesRows(sql)) {
    // Split at ":name" and "?" outside literals and quoted names; "::" is the server's cast.
    std::string piece;
    for (size_t i = 0; i < sql.size();) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {
            size_t end = i + 1;
            while (end < sql.size() && !(sql[end] == c && (end + 1 >= sql.size() || sql[end + 1] != c)))
                end += sql[end] == c ? 2 : 1;
            piece.append(sql, i, end + 1 - i);
            i = end + 1;
        } else if (c == ':' && i + 1 < sql.size() && sql[i + 1] == ':') {
            piece += "::";
            i += 2;
        } else if (c == ':' && i + 1 < sql.size() &&
                   (std::isalpha(static_cast<unsigned char>(sql[i + 1])) || sql[i + 1] == '_' ||
                    static_cast<unsigned char>(sql[i + 1]) >= 0x80)) {
            size_t end = i + 1;
            while (end < sql.size() &&
                   (std::isalnum(static_cast<unsigned char>(sql[end])) || sql[end] == '_' ||
                    sql[end] == '$' || static_cast<unsigned char>(sql[end]) >= 0x80))
                ++end;
            pieces_.push_back(std::move(piece));
            piece.clear();
            names_.push_back(sql.substr(i, end - i));
            i = end;
        } else if (c == '?') {
            pieces_.push_back(std::move(piece));
            piece.clear();
            names_.emplace_back();
            ++i;
        } else {
            piece += c;
            ++i;
        }
    }
    pieces_.push_back(std::move(piece));
    values_.resize(names_.size());

    // One statement per text, as on a desk's file.
    const auto tokens = tokenizeJet(jetSql);
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].is(";")) continue;
        for (size_t k = i + 1; k < tokens.size(); ++k)
            if (!tokens[k].is(";")) throw DbError("SQL 语句结束后还有多余的字符：" + jetSql);
    }
    // The names written in the select list: the result reports them in lower case, the clerk
    // sees them as written.
    int depth = 0;
    bool inList = false;
    for (const auto& t : tokens) {
        if (t.is("(")) ++depth;
        if (t.is(")")) --depth;
        if (depth == 0 && t.is("select")) inList = true;
        if (depth == 0 && t.is("from")) break;
        if (inList && (t.kind == TokenKind::Word || t.kind == TokenKind::QuotedName))
            selectWords_.push_back(t.text);
    }
}

bool PostgresStatement::step() {
    if (!result_) {
        std::string sql = pieces_[0];
        for (size_t i = 0; i < values_.size(); ++i) {
            if (values_[i].empty()) throw DbError("参数 " + names_[i] + " 没有值");
            if (values_[i].find('\0') != std::string::npos)
                throw DbError("参数 " + names_[i] + " 的值中有空字符（\\0），无法保存");
            sql += values_[i];
            sql += pieces_[i + 1];
        }
        result_ = engine_.run(sql, jetSql_);
        row_ = -1;
        changes_ = 0;
        if (PQresultStatus(result_.get()) == PGRES_COMMAND_OK) {
            const char* n = PQcmdTuples(result_.get());
            changes_ = n && *n ? std::atoi(n) : 0;
        }
    }
    if (PQresultStatus(result_.get()) != PGRES_TUPLES_OK) return false;
    if (row_ + 1 >= PQntuples(result_.get())) return false;
    ++row_;
    return true;
}

std::string PostgresStatement::columnName(int c) const {
    const std::string name = PQfname(result_.get(), c);
    for (const auto& w : selectWords_)
        if (equalsNoCase(w, name)) return w;
    const std::string table = engine_.tableOf(PQftable(result_.get(), c));
    return table.empty() ? name : spelledColumn(table, name);
}

void PostgresEngine::open() {
    if (conn_ && PQstatus(conn_) == CONNECTION_OK) return;
    if (lostInUnit_) throw DbConnectionLost(lostUnitMessage(lostWhy_));
    close();
    // Settings of the connection string come first and may be overridden by it, except the
    // encoding: every text the program handles is UTF-8.
    const char* keys[] = {"connect_timeout", "application_name", "dbname", "client_encoding", nullptr};
    const char* values[] = {connectTimeout_.c_str(), "customs-assistant", target_.c_str(), "UTF8", nullptr};
    PGconn* conn = PQconnectdbParams(keys, values, 1);
    if (!conn || PQstatus(conn) != CONNECTION_OK) {
        std::string why =
            HidePasswords(chineseConnectionMessage(conn ? PQerrorMessage(conn) : "out of memory"), target_);
        PQfinish(conn);
        throw DbError("无法连接数据库服务器“" + name_ + "”：" + why);
    }
    conn_ = conn;
    // The server's notices (a warning that it shuts down, a skipped table) are no message for the
    // clerk: what matters comes back as the failure of a statement.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
    try {
        // Values are joined in as standard literals; a statement waits for another desk's lock at
        // most as long as a desk's file waits.
        exec("SET standard_conforming_strings = on; SET lock_timeout = " + std::to_string(lockWait_) +
             "; SET client_min_messages = warning");
        if (setUp_) checkOrCreateSchema();
    } catch (const DbError& e) {
        close();
        const std::string what = e.what();
        if (what.find(name_) != std::string::npos) throw;
        throw DbError("无法打开数据库服务器“" + name_ + "”上的数据库：" + what);
    }
}

Result PostgresEngine::run(const std::string& sql, const std::string& jetSql, bool oneStatement) {
    open();
    Result r;
    if (const char* begin = beginPending_) {
        // In one message: the simple protocol runs them in order and answers with the statement's
        // own result (or its error, which leaves the unit to be rolled back).
        const std::string unit = begin + sql;
        beginPending_ = nullptr;
        r.reset(PQexec(conn_, unit.c_str()));
        const ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK && status != PGRES_EMPTY_QUERY &&
            connectionGone(r.get())) {
            // The connection broke since the last unit (a server restarted, an idle session ended):
            // the unit's first statement is its start, nothing of it can have been kept, so it
            // starts again on a new connection, once.
            close();
            try {
                open();
            } catch (const DbError& e) {
                // The unit cannot start: none of its statements may run on a later connection.
                lostInUnit_ = unitOpen_;
                lostWhy_ = e.what();
                throw DbConnectionLost(e.what());
            }
            r.reset(PQexec(conn_, unit.c_str()));
        }
    } else {
        r.reset(oneStatement ? PQexecParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, 0)
                             : PQexec(conn_, sql.c_str()));
    }
    const ExecStatusType status = r ? PQresultStatus(r.get()) : PGRES_FATAL_ERROR;
    if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_EMPTY_QUERY) return r;
    if (connectionGone(r.get())) throwConnectionBroken();
    throwServerError(serverError(r.get(), conn_), jetSql);
}

void PostgresEngine::end(bool keep) {
    const bool lost = lostInUnit_;
    const bool pending = beginPending_ != nullptr;
    unitOpen_ = false;
    lostInUnit_ = false;
    beginPending_ = nullptr;
    if (lost) {
        if (keep) throw DbConnectionLost(lostUnitMessage(lostWhy_));
        return;
    }
    if (pending) return;
    if (!conn_) {
        if (keep) throw DbConnectionLost(lostUnitMessage(""));
        return;
    }
    if (!keep) {
        exec("ROLLBACK");
        return;
    }
    // A unit the server no longer holds, or one it holds in an error state, is not kept: COMMIT
    // then answers without an error (a warning, or ROLLBACK), and the unit would pass for saved.
    const PGTransactionStatusType before = PQtransactionStatus(conn_);
    Result r = run("COMMIT", "COMMIT");
    if (before == PQTRANS_IDLE || std::string_view(PQcmdStatus(r.get())) != "COMMIT")
        throw DbError("数据库服务器已撤销这个事务（其中有语句出错），其中的改动都没有保存");
}

void PostgresEngine::throwServerError(const ServerError& e, const std::string& jetSql) {
    std::string msg = chineseServerMessage(e, jetSql);
    if (namesTheStatement(e) && !jetSql.empty()) msg += "。语句：" + jetSql;
    if (e.sqlstate == "55P03" || e.sqlstate == "40P01" || e.sqlstate == "40001") throw DbBusy(msg);
    throw DbError(msg);
}

void PostgresEngine::throwConnectionBroken() {
    const std::string why = HidePasswords(chineseConnectionMessage(PQerrorMessage(conn_)), target_);
    close();
    if (unitOpen_) {
        lostInUnit_ = true;
        lostWhy_ = why;
        throw DbConnectionLost(lostUnitMessage(why));
    }
    throw DbConnectionLost("与数据库服务器“" + name_ + "”的连接中断：" + why);
}

Result PostgresEngine::query(const std::string& sql) {
    return run(sql, sql);
}

std::string PostgresEngine::tableOf(Oid table) {
    if (table == InvalidOid) return {};
    auto it = tableNames_.find(table);
    if (it != tableNames_.end()) return it->second;
    std::string name;
    try {
        Result r = query("SELECT relname FROM pg_class WHERE oid = " + std::to_string(table));
        if (PQntuples(r.get()) == 1) name = PQgetvalue(r.get(), 0, 0);
    } catch (const DbError&) {
        // The name is only for the caption; the server's own name stays.
    }
    return tableNames_.emplace(table, name).first->second;
}

std::optional<std::vector<ColumnInfo>> PostgresEngine::tableColumns(std::string_view table) {
    const std::string name = EscapeQuotes(table);
    Result r = query(
        "SELECT a.attname, t.typname FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
        "JOIN pg_namespace n ON n.oid = c.relnamespace JOIN pg_type t ON t.oid = a.atttypid "
        "WHERE n.nspname = current_schema() AND c.relname = lower('" +
        name + "') AND a.attnum > 0 AND NOT a.attisdropped ORDER BY a.attnum");
    const int rows = PQntuples(r.get());
    if (rows == 0) return std::nullopt;
    std::vector<ColumnInfo> cols;
    const std::string lowerTable = toLowerAscii(table);
    for (int i = 0; i < rows; ++i) {
        ColumnInfo c;
        c.name = spelledColumn(lowerTable, PQgetvalue(r.get(), i, 0));
        const std::string_view type = PQgetvalue(r.get(), i, 1);
        if (type == "int2" || type == "int4" || type == "int8")
            c.kind = ColumnKind::Integer;
        else if (type == "float4" || type == "float8" || type == "numeric")
            c.kind = ColumnKind::Decimal;
        else if (type == "ca_date")
            c.kind = ColumnKind::Date;
        cols.push_back(std::move(c));
    }
    return cols;
}

void PostgresEngine::refuseSchema(const std::string& why) {
    throw DbError("数据库服务器“" + name_ + "”上的数据库" + why +
                  "。程序不会改动它；请使用一个空的数据库，或先把它转换为本程序的格式");
}

std::string PostgresEngine::schemaVersion() {
    Result v = query("SELECT max(version) FROM ca_schema");
    return PQntuples(v.get()) ? PQgetvalue(v.get(), 0, 0) : "";
}

// The name of a table, view, sequence, function or domain in the schema the connection uses that
// is not an extension's (citext, which the owner may have installed beforehand); empty when there
// is none, which is what an empty database is.
std::string PostgresEngine::foreignObject() {
    Result r = query(
        "SELECT name FROM ("
        "SELECT c.relname::text AS name, 1 AS k FROM pg_class c JOIN pg_namespace n ON n.oid = "
        "c.relnamespace "
        "WHERE n.nspname = current_schema() AND c.relkind IN ('r','p','v','m','f','S') AND NOT EXISTS "
        "(SELECT 1 FROM pg_depend d WHERE d.classid = 'pg_class'::regclass AND d.objid = c.oid AND d.deptype "
        "= 'e') "
        "UNION ALL SELECT p.proname::text, 2 FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
        "WHERE n.nspname = current_schema() AND NOT EXISTS (SELECT 1 FROM pg_depend d WHERE d.classid = "
        "'pg_proc'::regclass AND d.objid = p.oid AND d.deptype = 'e') "
        "UNION ALL SELECT t.typname::text, 3 FROM pg_type t JOIN pg_namespace n ON n.oid = t.typnamespace "
        "WHERE n.nspname = current_schema() AND t.typtype IN ('d','e') AND NOT EXISTS (SELECT 1 FROM "
        "pg_depend "
        "d WHERE d.classid = 'pg_type'::regclass AND d.objid = t.oid AND d.deptype = 'e')"
        ") o ORDER BY k, name LIMIT 1");
    return PQntuples(r.get()) ? PQgetvalue(r.get(), 0, 0) : "";
}

// The functions of the dialect for this database: created in the schema the connection uses, and
// naming it and the schema of citext wherever they call each other.
std::string PostgresEngine::functionsSql() {
    Result r = query(
        "SELECT current_schema(), (SELECT n.nspname FROM pg_extension e JOIN pg_namespace n ON n.oid = "
        "e.extnamespace WHERE e.extname = 'citext')");
    if (PQgetisnull(r.get(), 0, 0)) throw DbError("连接设置的 search_path 中没有可用的模式，无法建立数据表");
    if (PQgetisnull(r.get(), 0, 1)) throw DbError("数据库中没有安装 citext 扩展");
    return postgresFunctionsSql(PQgetvalue(r.get(), 0, 0), PQgetvalue(r.get(), 0, 1));
}

// An older database is brought up to this version in one unit under the lock that setting up takes,
// so one desk does it. Version 1 had no unique key for a goods line: duplicate lines go (the one
// stored first stays) and the key is made. Up to version 2 the functions called each other and
// citext without naming their schema, which the server's upkeep (empty search_path) cannot find:
// they are replaced by ones that do, and the number reading is brought up to date with them.
void PostgresEngine::upgrade() {
    exec("BEGIN");
    try {
        exec("SELECT pg_advisory_xact_lock(4242001)");
        const std::string version = schemaVersion();
        if (version == "1" || version == "2") {
            std::string sql;
            if (version == "1")
                sql +=
                    std::string(
                        "DELETE FROM subdata a USING subdata b WHERE a.pid = b.pid AND a.sp_no = b.sp_no AND "
                        "a.ctid > b.ctid;\n") +
                    kUniqueGoodsLine + ";\n";
            sql += functionsSql() +
                   "UPDATE ca_schema SET version = " + std::to_string(kPostgresSchemaVersion) + ";";
            run(sql, "", false);
        }
        exec("COMMIT");
    } catch (const DbError& e) {
        if (conn_) PQclear(PQexec(conn_, "ROLLBACK"));
        throw DbError(std::string("数据库需要升级到本程序的格式（版本 ") +
                      std::to_string(kPostgresSchemaVersion) + "），但升级没有完成（数据库保持原样）：" +
                      e.what());
    }
}

std::map<std::string, std::set<std::string>> PostgresEngine::tablesPresent() {
    std::set<std::string> wanted = {"ca_schema"};
    for (const auto& t : DefaultTables())
        wanted.insert(toLowerAscii(t.name));
    Result r = query(
        "SELECT c.relname, a.attname FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
        "JOIN pg_attribute a ON a.attrelid = c.oid AND a.attnum > 0 AND NOT a.attisdropped "
        "WHERE n.nspname = current_schema() AND c.relkind IN ('r', 'p', 'v')");
    std::map<std::string, std::set<std::string>> tables;
    for (int i = 0; i < PQntuples(r.get()); ++i)
        if (wanted.count(PQgetvalue(r.get(), i, 0)))
            tables[PQgetvalue(r.get(), i, 0)].insert(PQgetvalue(r.get(), i, 1));
    return tables;
}

SchemaFinding PostgresEngine::inspectSchema() {
    const auto tables = tablesPresent();
    if (!tables.count("ca_schema")) {
        const std::string other = foreignObject();
        if (other.empty()) return {SchemaFinding::Empty, ""};
        return {SchemaFinding::Foreign, "不是本程序建立的，也不是空的数据库（其中已有“" + other + "”等）"};
    }
    const std::string version = schemaVersion();
    if (version == "1" || version == "2") return {SchemaFinding::Older, ""};
    if (version != std::to_string(kPostgresSchemaVersion))
        return {SchemaFinding::Foreign, "的格式版本是 " +
                                            (version.empty() ? std::string("（空）") : version) +
                                            "，本程序使用版本 " + std::to_string(kPostgresSchemaVersion)};
    for (const auto& t : DefaultTables()) {
        auto it = tables.find(toLowerAscii(t.name));
        if (it == tables.end()) return {SchemaFinding::Foreign, "缺少数据表“" + t.name + "”"};
        for (const auto& c : t.columns)
            if (!it->second.count(toLowerAscii(c.name)))
                return {SchemaFinding::Foreign, "的数据表“" + t.name + "”缺少字段“" + c.name + "”"};
    }
    return {SchemaFinding::Ours, ""};
}

void PostgresEngine::checkOrCreateSchema() {
    SchemaFinding found = inspectSchema();
    if (found.kind == SchemaFinding::Empty) {
        // Only an empty database is set up: anything else that is not this program's is left as
        // it is. Two desks starting on an empty database at once: the second waits for the first
        // and then finds the tables.
        exec("BEGIN");
        try {
            exec("SELECT pg_advisory_xact_lock(4242001)");
            if (!tablesPresent().count("ca_schema")) {
                if (const std::string other = foreignObject(); !other.empty())
                    refuseSchema("不是本程序建立的，也不是空的数据库（其中已有“" + other + "”等）");
                try {
                    // The extension first: the functions name the schema it is in.
                    run(postgresTypesSql(), "", false);
                    std::string sql = functionsSql();
                    for (const auto& statement : DefaultSchemaStatements(dialect_))
                        sql += statement + ";\n";
                    sql += "CREATE TABLE ca_schema (version integer NOT NULL);\n";
                    sql += "INSERT INTO ca_schema VALUES (" + std::to_string(kPostgresSchemaVersion) + ");\n";
                    run(sql, "", false);
                } catch (const DbError& e) {
                    throw DbError(std::string("建立数据表时出错（数据库保持原样）：") + e.what());
                }
            }
            exec("COMMIT");
        } catch (...) {
            if (conn_) PQclear(PQexec(conn_, "ROLLBACK"));
            throw;
        }
        found = inspectSchema();
    }
    if (found.kind == SchemaFinding::Older) {
        upgrade();
        found = inspectSchema();
    }
    if (found.kind == SchemaFinding::Foreign) refuseSchema(found.why);
    if (found.kind != SchemaFinding::Ours) refuseSchema("没有建立完整");
}

// The row locks of the declarations, a few hundred per statement: a row lock lives in the row
// itself, so a copy of many declarations holds them all without filling the server's lock table.
void PostgresEngine::lockDeclarations(const std::vector<std::string>& keys) {
    constexpr size_t kPerStatement = 500;
    for (size_t from = 0; from < keys.size(); from += kPerStatement) {
        std::string list;
        for (size_t i = from; i < keys.size() && i < from + kPerStatement; ++i)
            list += (list.empty() ? "" : ",") + QuotedStr(keys[i]);
        run("SELECT 1 FROM loaddata WHERE ty_no IN (" + list + ") FOR UPDATE", "");
    }
}

void PostgresEngine::refreshStatistics(const std::vector<std::string>& tables) {
    // Only the program's tables: the server's own ones are for its owner to analyse.
    std::string list;
    for (const auto& t : tables)
        list += (list.empty() ? "" : ", ") + dialect_.quoteName(t);
    if (!list.empty()) run("ANALYZE " + list, "");
}

void PostgresEngine::copyIn(const std::string& sql, const std::string& data) {
    open();
    if (beginPending_) exec("SELECT 1");  // the unit's BEGIN goes first
    Result start(PQexec(conn_, sql.c_str()));
    if (!start || PQresultStatus(start.get()) != PGRES_COPY_IN) {
        if (connectionGone(start.get())) throwConnectionBroken();
        throwServerError(serverError(start.get(), conn_), "");
    }
    const bool sent = PQputCopyData(conn_, data.data(), static_cast<int>(data.size())) == 1;
    PQputCopyEnd(conn_, sent ? nullptr : "ca: sending failed");
    Result end(PQgetResult(conn_));
    // Drain what else the statement answered, so the connection is ready for the next one.
    while (PGresult* more = PQgetResult(conn_))
        PQclear(more);
    if (end && PQresultStatus(end.get()) == PGRES_COMMAND_OK) return;
    if (!sent || connectionGone(end.get())) throwConnectionBroken();
    throwServerError(serverError(end.get(), conn_), "");
}

// Rows go in COPY's text form into a temporary table of the same columns, a few megabytes per COPY
// statement; finish() moves them into the table with one INSERT that passes over a row whose
// unique key another desk stored meanwhile (it waits for that desk's unit first).
class PostgresBulkCopy : public BulkCopy {
public:
    PostgresBulkCopy(PostgresEngine& engine, const PostgresDialect& dialect, const std::string& table,
                     const std::vector<std::string>& columns)
        : engine_(engine),
          table_(dialect.quoteName(table)),
          staging_(quoteIdentifier("ca_copy_" + toLowerAscii(table))) {
        for (size_t i = 0; i < columns.size(); ++i)
            columns_ += (i ? "," : "") + dialect.quoteName(columns[i]);
        engine_.exec("DROP TABLE IF EXISTS pg_temp." + staging_ + "; CREATE TEMPORARY TABLE " + staging_ +
                     " AS SELECT " + columns_ + " FROM " + table_ + " WITH NO DATA");
    }

    void addRow(const std::vector<Value>& row) override {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i) data_ += '\t';
            if (const auto* n = std::get_if<std::int64_t>(&row[i])) {
                data_ += std::to_string(*n);
            } else if (const auto* d = std::get_if<double>(&row[i])) {
                char buf[40];
                std::snprintf(buf, sizeof buf, "%.17g", *d);
                data_ += buf;
            } else if (const auto* t = std::get_if<std::string>(&row[i])) {
                if (t->find('\0') != std::string::npos) throw DbError("值中有空字符（\\0），无法保存");
                for (char c : *t) {
                    switch (c) {
                        case '\\':
                            data_ += "\\\\";
                            break;
                        case '\t':
                            data_ += "\\t";
                            break;
                        case '\n':
                            data_ += "\\n";
                            break;
                        case '\r':
                            data_ += "\\r";
                            break;
                        default:
                            data_ += c;
                    }
                }
            } else {
                data_ += "\\N";
            }
        }
        data_ += '\n';
        if (data_.size() >= kFlushBytes) flush();
    }

    int finish() override {
        flush();
        Result r = engine_.run("INSERT INTO " + table_ + "(" + columns_ + ") SELECT " + columns_ + " FROM " +
                                   staging_ + " ON CONFLICT DO NOTHING",
                               "");
        const char* n = PQcmdTuples(r.get());
        const int written = n && *n ? std::atoi(n) : 0;
        engine_.exec("DROP TABLE " + staging_);
        return written;
    }

private:
    static constexpr size_t kFlushBytes = 4 << 20;

    void flush() {
        if (data_.empty()) return;
        engine_.copyIn("COPY " + staging_ + "(" + columns_ + ") FROM STDIN", data_);
        data_.clear();
    }

    PostgresEngine& engine_;
    std::string table_;
    std::string staging_;
    std::string columns_;
    std::string data_;
};

std::unique_ptr<BulkCopy> PostgresEngine::bulkCopy(const std::string& table,
                                                   const std::vector<std::string>& columns) {
    open();
    return std::make_unique<PostgresBulkCopy>(*this, dialect_, table, columns);
}

}  // namespace

std::unique_ptr<Engine> makePostgresEngine(const std::string& target) {
    return std::make_unique<PostgresEngine>(target);
}

ServerProbe ProbeServer(const std::string& target, int timeoutSeconds) {
    PostgresEngine engine(target, false, timeoutSeconds);
    try {
        const std::string version = engine.version();
        const SchemaFinding found = engine.inspectSchema();
        const std::string connected = "连接成功：" + version + "。";
        switch (found.kind) {
            case SchemaFinding::Ours:
                return {true, connected + "数据库是本程序的数据库"};
            case SchemaFinding::Empty:
                return {true, connected + "数据库是空的，程序启动时会在其中建立数据表"};
            case SchemaFinding::Older:
                return {true, connected + "数据库是本程序较早的格式，程序启动时会把它升级"};
            case SchemaFinding::Foreign:
                break;
        }
        return {false, "已连接数据库服务器（" + version + "），但其上的数据库" + found.why +
                           "。本程序不能使用它，也不会改动它；请使用一个空的数据库"};
    } catch (const DbError& e) {
        return {false, HidePasswords(e.what(), target)};
    }
}

}  // namespace ca::db
