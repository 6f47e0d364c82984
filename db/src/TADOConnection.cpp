#include "ca/db/TADOConnection.h"

#include "Engine.h"
#include "JetLexer.h"
#include "PostgresEngine.h"
#include "SqliteEngine.h"
#include "StatementCache.h"
#include "ca/db/DbError.h"

namespace ca::db {

namespace {

// Statements with joined values are rarely repeated; the cache is emptied when it grows past this.
constexpr size_t kTranslationCacheLimit = 2000;
// The statements a window or the download runs again and again are few; one-off statements pass
// through without pushing them out for long.
constexpr size_t kStatementCacheSize = 64;

std::unique_ptr<Engine> makeEngine(const std::string& target) {
    if (IsServerTarget(target)) return makePostgresEngine(target);
    return std::make_unique<SqliteEngine>(target);
}

}  // namespace

bool IsServerTarget(std::string_view target) {
    if (target.starts_with("postgresql://") || target.starts_with("postgres://")) return true;
    // A libpq keyword string: "key=value" pairs separated by blanks. A file name may hold "=" but
    // hardly one of these keywords at the start of a word.
    for (std::string_view key : {"host=", "hostaddr=", "dbname=", "service="}) {
        for (size_t at = target.find(key); at != std::string_view::npos; at = target.find(key, at + 1))
            if (at == 0 || target[at - 1] == ' ') return true;
    }
    return false;
}

TADOConnection::TADOConnection(std::string fileName)
    : fileName_(std::move(fileName)),
      server_(IsServerTarget(fileName_)),
      engine_(makeEngine(fileName_)),
      statements_(std::make_unique<StatementCache>(kStatementCacheSize)) {
    if (server_) openedPath_ = engine_->displayName();
}

TADOConnection::~TADOConnection() {
    statements_->clear();
}

bool TADOConnection::Connected() const {
    return engine_->isOpen();
}

void TADOConnection::Open() {
    if (engine_->isOpen()) return;
    engine_->open();
    openedPath_ = engine_->displayName();
    // What was learnt about the tables belongs to the connection that has just ended.
    tables_.clear();
}

Engine& TADOConnection::engine() {
    Open();
    return *engine_;
}

sqlite3* TADOConnection::handle() {
    auto* sqlite = dynamic_cast<SqliteEngine*>(engine_.get());
    if (!sqlite) throw DbError("数据库“" + openedPath_ + "”是数据库服务器，不是 SQLite 文件");
    Open();
    return sqlite->handle();
}

const Dialect& TADOConnection::dialect() const {
    return engine_->dialect();
}

void TADOConnection::execRaw(const std::string& sql) {
    engine().exec(sql);
}

const Translation& TADOConnection::translate(const std::string& jetSql) {
    auto it = translations_.find(jetSql);
    if (it != translations_.end()) return it->second;
    Translation t = dialect().translate(jetSql, *this);
    if (translations_.size() >= kTranslationCacheLimit) translations_.clear();
    return translations_.emplace(jetSql, std::move(t)).first->second;
}

void TADOConnection::schemaChanged() {
    translations_.clear();
    tables_.clear();
    statements_->clear();
}

const std::vector<std::string>& TADOConnection::parameterNames(const std::string& jetSql) {
    // A named parameter starts with ":"; text without one (values joined into it, mostly run once)
    // is neither split nor kept.
    static const std::vector<std::string> none;
    if (jetSql.find(':') == std::string::npos) return none;
    auto it = parameterNames_.find(jetSql);
    if (it != parameterNames_.end()) return it->second;
    std::vector<std::string> names;
    try {
        for (const auto& t : tokenizeJet(jetSql)) {
            if (t.kind != TokenKind::Param || t.text.empty()) continue;
            std::string name = toLowerAscii(t.text);
            bool known = false;
            for (const auto& n : names)
                known = known || n == name;
            if (!known) names.push_back(std::move(name));
        }
    } catch (const DbError&) {
        // The statement is malformed; running it reports that.
        names.clear();
    }
    if (parameterNames_.size() >= kTranslationCacheLimit) parameterNames_.clear();
    return parameterNames_.emplace(jetSql, std::move(names)).first->second;
}

const std::vector<ColumnInfo>* TADOConnection::columns(std::string_view table) {
    std::string key = toLowerAscii(table);
    auto it = tables_.find(key);
    if (it != tables_.end()) return &it->second;
    auto cols = engine().tableColumns(key);
    if (!cols) return nullptr;
    return &tables_.emplace(key, std::move(*cols)).first->second;
}

}  // namespace ca::db
