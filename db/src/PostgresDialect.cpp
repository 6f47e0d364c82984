#include <algorithm>
#include <array>

#include "JetLexer.h"
#include "JetTranslator.h"
#include "ca/db/Dialect.h"
#include "ca/db/Quoting.h"

namespace ca::db {

namespace {

// Words the server reserves that a Jet statement can only use as names (the table `limit` above
// all): written as quoted lower-case names, which is what the unquoted name is on the server.
bool isServerOnlyKeyword(std::string_view lower) {
    static constexpr std::array<std::string_view, 33> words = {"analyse",
                                                               "analyze",
                                                               "array",
                                                               "asymmetric",
                                                               "both",
                                                               "concurrently",
                                                               "current_catalog",
                                                               "current_role",
                                                               "current_schema",
                                                               "current_user",
                                                               "deferrable",
                                                               "do",
                                                               "fetch",
                                                               "freeze",
                                                               "ilike",
                                                               "initially",
                                                               "lateral",
                                                               "leading",
                                                               "limit",
                                                               "localtime",
                                                               "localtimestamp",
                                                               "offset",
                                                               "only",
                                                               "placing",
                                                               "returning",
                                                               "session_user",
                                                               "similar",
                                                               "symmetric",
                                                               "tablesample",
                                                               "trailing",
                                                               "user",
                                                               "variadic",
                                                               "window"};
    return std::find(words.begin(), words.end(), lower) != words.end();
}

class PostgresRenderer : public JetRenderer {
public:
    explicit PostgresRenderer(const PostgresDialect& dialect) : dialect_(dialect) {}

    std::string word(std::string_view text, bool call) const override {
        const std::string lower = toLowerAscii(text);
        if (call) {
            // The server's format(text, ...) formats with %s; the Jet one formats dates. now()
            // gives the local time as text, as the Jet function does on the desk.
            if (lower == "format") return "ca_format";
            if (lower == "now") return "ca_now";
            if (lower == "array") return std::string(text);
        }
        // "insert into limit(...)": a name also where a "(" follows.
        if (isServerOnlyKeyword(lower)) return quoteIdentifier(lower);
        return std::string(text);
    }
    std::string quotedName(std::string_view name) const override {
        return quoteIdentifier(toLowerAscii(name));
    }
    // citext on either side makes the comparison ignore letter case; a literal stays untyped so that
    // it also compares with numbers ('1' against an integer column).
    std::string comparedText(std::string_view value) const override { return QuotedStr(value); }
    std::string punct(std::string_view text) const override {
        if (text == "&") return "||";
        if (text == "==") return "=";
        return std::string(text);
    }
    std::pair<std::string, std::string> conversion(ColumnKind kind,
                                                   const std::string& column) const override {
        const char* fn = kind == ColumnKind::Integer   ? "ca_cv_i(("
                         : kind == ColumnKind::Decimal ? "ca_cv_d(("
                                                       : "ca_cv_t((";
        return {fn, ")::text, " + QuotedStr(column) + ")"};
    }
    std::string columnDefinition(const ColumnInfo& column) const override {
        return dialect_.columnDefinition(column);
    }
    bool comparesStoredDatesDirectly() const override { return true; }

private:
    const PostgresDialect& dialect_;
};

}  // namespace

Translation PostgresDialect::translate(std::string_view jetSql, SchemaLookup& schema) const {
    return translateJet(jetSql, schema, PostgresRenderer(*this));
}

std::string PostgresDialect::quoteName(std::string_view name) const {
    return quoteIdentifier(toLowerAscii(name));
}

std::string PostgresDialect::textIndexExpression(std::string_view expression) const {
    // mid gives citext: the index keeps the order of its comparisons.
    return "(" + std::string(expression) + ")";
}

std::string PostgresDialect::columnDefinition(const ColumnInfo& column) const {
    const std::string q = quoteName(column.name);
    switch (column.kind) {
        case ColumnKind::Text:
            // The check is named after the column as it is spelt, so a refusal names the column.
            if (column.width > 0)
                return q + " citext CONSTRAINT " + quoteIdentifier(column.name) + " CHECK (length(" + q +
                       ")<=" + std::to_string(column.width) + ")";
            return q + " citext";
        case ColumnKind::Integer:
            return q + " bigint";
        case ColumnKind::Decimal:
            // As on a desk's file: the value as given, not rounded to the declared scale.
            return q + " double precision";
        case ColumnKind::Date:
            return q + " ca_date";
    }
    return q;
}

}  // namespace ca::db
