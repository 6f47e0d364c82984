#include <algorithm>
#include <array>

#include "JetLexer.h"
#include "JetTranslator.h"
#include "ca/db/Dialect.h"
#include "ca/db/Quoting.h"

namespace ca::db {

namespace {

// Words that SQLite reserves but Jet does not: in a Jet statement they can only be names (the
// table `limit` above all), so they are written as quoted names. Of them only glob, match and
// regexp are also functions, and stay as they are when a "(" follows.
bool isSqliteOnlyKeyword(std::string_view lower) {
    static constexpr std::array<std::string_view, 52> words = {
        "abort",     "action",    "after",     "analyze",    "attach",    "autoincrement",
        "before",    "cascade",   "conflict",  "deferrable", "deferred",  "detach",
        "do",        "each",      "exclude",   "exclusive",  "explain",   "fail",
        "filter",    "following", "generated", "glob",       "groups",    "immediate",
        "indexed",   "initially", "instead",   "isnull",     "limit",     "match",
        "natural",   "nothing",   "notnull",   "nulls",      "offset",    "others",
        "over",      "partition", "pragma",    "preceding",  "raise",     "recursive",
        "regexp",    "reindex",   "release",   "returning",  "savepoint", "temp",
        "temporary", "trigger",   "vacuum",    "window"};
    return std::find(words.begin(), words.end(), lower) != words.end();
}

class SqliteRenderer : public JetRenderer {
public:
    explicit SqliteRenderer(const SqliteDialect& dialect) : dialect_(dialect) {}

    std::string word(std::string_view text, bool call) const override {
        const std::string lower = toLowerAscii(text);
        if (isSqliteOnlyKeyword(lower) &&
            !(call && (lower == "glob" || lower == "match" || lower == "regexp")))
            return quoteIdentifier(text);
        return std::string(text);
    }
    bool writesLiteralMidAsSubstr() const override { return true; }
    std::string quotedName(std::string_view name) const override { return quoteIdentifier(name); }
    std::string comparedText(std::string_view value) const override {
        return QuotedStr(value) + " COLLATE NOCASE";
    }
    std::string punct(std::string_view text) const override {
        return text == "&" ? std::string("||") : std::string(text);
    }
    std::pair<std::string, std::string> conversion(ColumnKind kind,
                                                   const std::string& column) const override {
        const char* code = kind == ColumnKind::Integer ? "i" : kind == ColumnKind::Decimal ? "d" : "t";
        return {"ca_cv(", std::string(", '") + code + "', " + QuotedStr(column) + ")"};
    }
    std::string columnDefinition(const ColumnInfo& column) const override {
        return dialect_.columnDefinition(column);
    }

private:
    const SqliteDialect& dialect_;
};

}  // namespace

Translation SqliteDialect::translate(std::string_view jetSql, SchemaLookup& schema) const {
    return translateJet(jetSql, schema, SqliteRenderer(*this));
}

std::string SqliteDialect::quoteName(std::string_view name) const {
    return quoteIdentifier(name);
}

std::string SqliteDialect::textIndexExpression(std::string_view expression) const {
    // Translated as the statements that compare with it are, so that the engine finds the index
    // for them. An expression names no table, so there are no columns to look up.
    struct NoTables : SchemaLookup {
        const std::vector<ColumnInfo>* columns(std::string_view) override { return nullptr; }
    } none;
    return translate(expression, none).sql + " COLLATE NOCASE";
}

std::string SqliteDialect::columnDefinition(const ColumnInfo& column) const {
    const std::string q = quoteIdentifier(column.name);
    // Each check is named after its column, so a refusal names the column.
    const std::string check = " CONSTRAINT " + q + " CHECK(";
    switch (column.kind) {
        case ColumnKind::Text:
            if (column.width > 0)
                return q + " VARCHAR(" + std::to_string(column.width) + ") COLLATE NOCASE" + check +
                       "length(" + q + ")<=" + std::to_string(column.width) + ")";
            return q + " TEXT COLLATE NOCASE";
        case ColumnKind::Integer:
            return q + " INTEGER" + check + "typeof(" + q + ") IN ('integer','null'))";
        case ColumnKind::Decimal:
            return q + " DECIMAL(18,2)" + check + "typeof(" + q + ") IN ('integer','real','null'))";
        case ColumnKind::Date:
            return q + " DATETEXT COLLATE NOCASE" + check + q + " IS NULL OR " + q + "=date(" + q +
                   ",'+0 days') OR " + q + "=datetime(" + q + ",'+0 days'))";
    }
    return q;
}

ColumnKind kindOfSqliteType(std::string_view declaredType) {
    std::string t = toLowerAscii(declaredType);
    if (auto paren = t.find('('); paren != std::string::npos) t.erase(paren);
    while (!t.empty() && t.back() == ' ')
        t.pop_back();
    if (t == "datetext") return ColumnKind::Date;
    if (auto k = jetTypeKind(t)) return *k;
    if (t.find("int") != std::string::npos) return ColumnKind::Integer;
    if (t.find("char") != std::string::npos || t.find("text") != std::string::npos ||
        t.find("clob") != std::string::npos)
        return ColumnKind::Text;
    if (t.find("date") != std::string::npos || t.find("time") != std::string::npos) return ColumnKind::Date;
    if (t.empty() || t.find("blob") != std::string::npos) return ColumnKind::Text;
    return ColumnKind::Decimal;
}

}  // namespace ca::db
