#include "ca/db/TADOQuery.h"

#include <cstring>

#include "Engine.h"
#include "JetLexer.h"
#include "StatementCache.h"
#include "ca/db/DbError.h"
#include "ca/db/TADOConnection.h"
#include "ca/db/TDM.h"

namespace ca::db {

TADOQuery::TADOQuery(TDM& dm) : conn_(dm.ADOConnection1) {}
TADOQuery::TADOQuery(TADOConnection& connection) : conn_(connection) {}
TADOQuery::~TADOQuery() = default;

void TADOQuery::SetSQL(std::string_view jetSql) {
    Close();
    sql_ = std::string(jetSql);
    params_.clear();
    lastParam_ = static_cast<size_t>(-1);  // the next search starts at the first parameter
    for (const auto& name : conn_.parameterNames(sql_))
        params_.emplace_back(name);
}

TParameter& TADOQuery::ParamByName(std::string_view name) {
    std::string_view key = name;
    if (!key.empty() && key[0] == ':') key.remove_prefix(1);
    // Parameter names are kept in lower case; the name asked for is lowered letter by letter as it
    // is compared (this runs for every value of every statement).
    // Values are mostly set in the order of the statement: the search starts after the parameter
    // found last. Names are unique, so where it starts does not change what is found.
    const size_t count = params_.size();
    for (size_t k = 0; k < count; ++k) {
        const size_t at = (lastParam_ + 1 + k) % count;
        const std::string& n = params_[at].Name();
        if (n.size() != key.size()) continue;
        size_t i = 0;
        while (i < n.size() && n[i] == toLowerAscii(key[i]))
            ++i;
        if (i == n.size()) {
            lastParam_ = at;
            return params_[at];
        }
    }
    throw DbError("语句中没有参数 :" + std::string(name) + "：" + sql_);
}

void TADOQuery::Open() {
    Close();
    bool opened = false;
    run(Mode::Open, opened);
    active_ = true;
    row_ = 0;
}

void TADOQuery::Close() {
    active_ = false;
    names_.clear();
    cells_.clear();
    data_.clear();
    rowCount_ = 0;
    row_ = 0;
}

int TADOQuery::ExecSQL() {
    Close();
    bool opened = false;
    return run(Mode::Exec, opened);
}

bool TADOQuery::OpenOrExec(int& changed) {
    Close();
    bool opened = false;
    changed = run(Mode::Either, opened);
    active_ = opened;
    row_ = 0;
    return opened;
}

// The compiled form of a statement text: from the connection's cache, or translated and compiled
// now. The tail check and the parameter names are done once, when compiling.
PreparedStatement TADOQuery::prepare(bool& changesSchema) {
    if (auto cached = conn_.statements().take(sql_)) {
        changesSchema = false;
        return std::move(*cached);
    }
    const Translation& translation = conn_.translate(sql_);
    changesSchema = translation.changesSchema;
    const std::string sql = translation.sql;  // the reference ends with the next translation
    return PreparedStatement(conn_.engine().prepare(sql, sql_));
}

int TADOQuery::run(Mode mode, bool& opened) {
    if (sql_.find_first_not_of(" \t\r\n") == std::string::npos) throw DbError("无效的 SQL 语句：语句是空的");
    const std::uint64_t generation = conn_.statements().generation();
    bool changesSchema = false;
    PreparedStatement statement = prepare(changesSchema);
    EngineStatement* st = statement.get();
    // Whatever happens below, a statement that leaves the structure as it was goes back to the
    // cache, rewound; one that changes it is finalized (the structure it was compiled for is gone).
    struct ReturnToCache {
        TADOConnection& conn;
        const std::string& key;
        PreparedStatement& statement;
        bool keep;
        std::uint64_t generation;
        ~ReturnToCache() {
            if (keep) conn.statements().giveBack(key, std::move(statement), generation);
        }
    } returnToCache{conn_, sql_, statement, !changesSchema, generation};

    // A change of structure never returns rows: "alter table ... add" of a column with a check
    // is compiled with an inner check of the existing rows, whose result column it reports.
    int columns = changesSchema ? 0 : st->columnCount();
    const bool keepRows = mode == Mode::Open || (mode == Mode::Either && columns > 0);
    opened = keepRows;
    if (keepRows && columns == 0) throw DbError("语句不返回记录，无法打开：" + sql_);

    const auto& names = st->parameterNames();
    const int count = static_cast<int>(names.size());
    for (int i = 1; i <= count; ++i) {
        const std::string& name = names[static_cast<size_t>(i - 1)];
        if (name.empty()) throw DbError("语句中有未命名的参数 ?：" + sql_);
        TParameter& p = ParamByName(std::string_view(name).substr(1));
        if (!p.isSet()) throw DbError("参数 " + name + " 没有值");
        const Value& v = p.value();
        if (auto* t = std::get_if<std::string>(&v))
            st->bindText(i, *t);
        else if (auto* n = std::get_if<std::int64_t>(&v))
            st->bindInteger(i, *n);
        else if (auto* d = std::get_if<double>(&v))
            st->bindReal(i, *d);
        else
            st->bindNull(i);
    }

    try {
        bool row = st->step();
        if (keepRows) {
            // Read after the first step: a statement kept from before a change of the structure by
            // another connection is compiled again there, and "*" may stand for other columns now.
            columns = st->columnCount();
            names_.clear();
            for (int c = 0; c < columns; ++c)
                names_.push_back(st->columnName(c));
        }
        for (; row; row = st->step()) {
            if (!keepRows) continue;
            for (int c = 0; c < columns; ++c) {
                const CellType type = st->columnType(c);
                Cell cell{data_.size(), 0, static_cast<unsigned char>(type)};
                if (type == CellType::Integer) {
                    appendRaw(st->columnInteger(c));
                } else if (type == CellType::Real) {
                    appendRaw(st->columnReal(c));
                } else if (type == CellType::Text) {
                    const std::string_view text = st->columnText(c);
                    cell.size = static_cast<std::uint32_t>(text.size());
                    data_.insert(data_.end(), text.begin(), text.end());
                }
                cells_.push_back(cell);
            }
            ++rowCount_;
        }
    } catch (const DbError&) {
        Close();
        if (changesSchema) conn_.schemaChanged();
        throw;
    }
    const int changed = st->changes();
    if (changesSchema) conn_.schemaChanged();
    return changed;
}

int TADOQuery::findField(std::string_view name) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (equalsNoCase(names_[i], name)) return static_cast<int>(i);
    return -1;
}

TField TADOQuery::FieldByName(std::string_view name) const {
    int i = findField(name);
    if (i < 0) throw DbError("找不到字段“" + std::string(name) + "”");
    return TField(*this, i);
}

bool TADOQuery::HasField(std::string_view name) const {
    return findField(name) >= 0;
}

TField TADOQuery::Fields(int index) const {
    if (index < 0 || index >= FieldCount())
        throw DbError("字段序号 " + std::to_string(index) + " 超出范围（共 " + std::to_string(FieldCount()) +
                      " 个字段）");
    return TField(*this, index);
}

template <class T>
void TADOQuery::appendRaw(T v) {
    const auto* p = reinterpret_cast<const char*>(&v);
    data_.insert(data_.end(), p, p + sizeof v);
}

Value TADOQuery::valueAt(int row, int column) const {
    if (row < 0 || static_cast<size_t>(row) >= rowCount_ || column < 0 ||
        static_cast<size_t>(column) >= names_.size())
        return {};
    const Cell& cell = cells_[static_cast<size_t>(row) * names_.size() + static_cast<size_t>(column)];
    const char* p = data_.data() + cell.offset;
    switch (static_cast<CellType>(cell.type)) {
        case CellType::Integer: {
            std::int64_t v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        case CellType::Real: {
            double v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        case CellType::Text:
            return std::string(p, cell.size);
        default:
            return {};
    }
}

}  // namespace ca::db
