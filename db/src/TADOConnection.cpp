#include "ca/db/TADOConnection.h"

#include "Engine.h"
#include "JetLexer.h"
#include "PostgresEngine.h"
#include "SqliteEngine.h"
#include "StatementCache.h"
#include "ca/db/DatabaseTarget.h"
#include "ca/db/DbError.h"
#include "ca/db/Schema.h"
#include "ca/util/Folders.h"
#include "ca/util/OutputTarget.h"

namespace ca::db {

namespace {

// Statements with joined values are rarely repeated; the cache is emptied when it grows past this.
constexpr size_t kTranslationCacheLimit = 2000;
// The statements a window or the download runs again and again are few; one-off statements pass
// through without pushing them out for long.
constexpr size_t kStatementCacheSize = 64;

std::unique_ptr<Engine> makeEngine(const std::string& target) {
    if (IsServerTarget(target)) return makePostgresEngine(ServerConnectionString(target));
    return std::make_unique<SqliteEngine>(target);
}

}  // namespace

TADOConnection::TADOConnection(std::string fileName)
    : fileName_(std::move(fileName)),
      refusal_(TargetRefusal(fileName_)),
      engine_(makeEngine(refusal_.empty() ? fileName_ : ":memory:")),
      statements_(std::make_unique<StatementCache>(kStatementCacheSize)) {
    if (IsServerTarget(fileName_)) openedPath_ = engine_->displayName();
}

TADOConnection::~TADOConnection() {
    statements_->clear();
}

bool TADOConnection::Connected() const {
    return engine_->isOpen();
}

void TADOConnection::Open() {
    if (!refusal_.empty()) throw DbError(refusal_);
    if (engine_->isOpen()) return;
    engine_->open();
    openedPath_ = engine_->displayName();
    if (!IsServerTarget(fileName_) && openedPath_ != ":memory:")
        realPath_ = pathToUtf8(realFilePath(pathFromUtf8(openedPath_)));
    // What was learnt about the tables belongs to the connection that has just ended.
    tables_.clear();
}

Engine& TADOConnection::engine() {
    Open();
    return *engine_;
}

void TADOConnection::LockDeclarations(const std::vector<std::string>& keys) {
    if (!keys.empty()) engine().lockDeclarations(keys);
}

void TADOConnection::RollbackUnit() {
    // Not through engine(): a unit whose connection broke ends here without connecting again (the
    // server undid it already), and only the next unit or statement connects.
    if (refusal_.empty() && (!engine_->isOpen() || engine_->inTransaction())) engine_->rollback();
}

void TADOConnection::RefreshStatistics(const std::vector<std::string>& tables) {
    if (!tables.empty()) {
        engine().refreshStatistics(tables);
        return;
    }
    std::vector<std::string> all;
    for (const auto& t : DefaultTables())
        all.push_back(t.name);
    engine().refreshStatistics(all);
}

std::unique_ptr<BulkCopy> TADOConnection::BeginCopy(const std::string& table,
                                                    const std::vector<std::string>& columns) {
    return engine().bulkCopy(table, columns);
}

std::string TADOConnection::EngineVersion() {
    return engine().version();
}

void TADOConnection::AddColumnOfZeros(const std::string& table, const std::string& column,
                                      const std::string& jetType) {
    const std::string add = translate("alter table " + table + " add " + column + " " + jetType).sql;
    const bool filled =
        engine().addColumnOfZeros(add, dialect().quoteName(table), dialect().quoteName(column));
    schemaChanged();
    if (!filled) engine().exec(translate("update " + table + " set " + column + "=0").sql);
}

void TADOConnection::SetLockWait(int milliseconds) {
    engine_->setLockWait(milliseconds);
}

void TADOConnection::SetOpenMode(OpenMode mode) {
    engine_->setOpenMode(mode);
}

std::optional<std::string> TADOConnection::Damage() {
    return engine().damage();
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
