#include "JetTranslator.h"

#include <algorithm>
#include <array>
#include <optional>

#include "JetLexer.h"
#include "ca/db/DbError.h"
#include "ca/db/Quoting.h"
#include "ca/db/Schema.h"
#include "ca/util/Convert.h"

namespace ca::db {

namespace {

bool isComparison(const Token& t) {
    if (t.kind != TokenKind::Punct) return false;
    static constexpr std::array<std::string_view, 8> ops = {"=", "==", "<>", "!=", "<", ">", "<=", ">="};
    return std::find(ops.begin(), ops.end(), t.text) != ops.end();
}

}  // namespace

std::string quoteIdentifier(std::string_view name) {
    std::string r = "\"";
    for (char c : name) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

namespace {

// A like pattern in which Jet's one-character classes ("[%]", "[_]", "[[]") stand for the literal
// character. The engines have no classes, so they become escapes with "\" as the escape
// character; a backslash of the pattern is doubled then (PostgreSQL would read it as an escape
// even without an ESCAPE clause).
std::optional<std::string> likePatternWithEscapes(std::string_view pattern) {
    if (pattern.find('[') == std::string_view::npos && pattern.find('\\') == std::string_view::npos)
        return std::nullopt;
    std::string r;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '[' && i + 2 < pattern.size() && pattern[i + 2] == ']') {
            r += '\\';
            r += pattern[i + 1];
            i += 2;
        } else if (c == '\\') {
            r += "\\\\";
        } else {
            r += c;
        }
    }
    return r;
}

bool isDigitText(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// #2011-01-05#, #2011/1/5#, #1/5/2011# (month first, as Jet reads slashes with the year last),
// each with an optional time hh:mm[:ss]. Gives "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS".
std::string dateLiteral(std::string_view text) {
    auto fail = [&]() -> std::string { throw DbError("语法错误：日期 #" + std::string(text) + "# 无效"); };
    std::string s(text);
    while (!s.empty() && s.front() == ' ')
        s.erase(s.begin());
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    std::string datePart = s, timePart;
    if (auto sp = s.find(' '); sp != std::string::npos) {
        datePart = s.substr(0, sp);
        timePart = s.substr(sp + 1);
        while (!timePart.empty() && timePart.front() == ' ')
            timePart.erase(timePart.begin());
    }
    std::vector<std::string> parts;
    char sep = datePart.find('-') != std::string::npos ? '-' : '/';
    size_t start = 0;
    for (;;) {
        size_t p = datePart.find(sep, start);
        parts.push_back(datePart.substr(start, p - start));
        if (p == std::string::npos) break;
        start = p + 1;
    }
    if (parts.size() != 3 || !std::all_of(parts.begin(), parts.end(), isDigitText)) return fail();
    int y, m, d;
    if (parts[0].size() == 4) {
        y = std::stoi(parts[0]), m = std::stoi(parts[1]), d = std::stoi(parts[2]);
    } else if (parts[2].size() == 4 && sep == '/') {
        m = std::stoi(parts[0]), d = std::stoi(parts[1]), y = std::stoi(parts[2]);
    } else {
        return fail();
    }
    if (parts[1].size() > 2 || !isValidDate(y, m, d)) return fail();
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", y, m, d);
    std::string r = buf;
    if (!timePart.empty()) {
        int h = 0, mi = 0, se = 0;
        char extra = 0;
        int got = std::sscanf(timePart.c_str(), "%d:%d:%d%c", &h, &mi, &se, &extra);
        if (got < 2 || got > 3 || h < 0 || h > 23 || mi < 0 || mi > 59 || se < 0 || se > 59) return fail();
        if (h || mi || se) {
            std::snprintf(buf, sizeof buf, " %02d:%02d:%02d", h, mi, se);
            r += buf;
        }
    }
    return r;
}

}  // namespace

// The Jet type names of "create table" and "alter table ... add".
std::optional<ColumnKind> jetTypeKind(std::string_view word) {
    static const std::pair<std::string_view, ColumnKind> types[] = {
        {"text", ColumnKind::Text},         {"char", ColumnKind::Text},
        {"varchar", ColumnKind::Text},      {"nchar", ColumnKind::Text},
        {"nvarchar", ColumnKind::Text},     {"character", ColumnKind::Text},
        {"string", ColumnKind::Text},       {"memo", ColumnKind::Text},
        {"longtext", ColumnKind::Text},     {"ntext", ColumnKind::Text},
        {"alphanumeric", ColumnKind::Text}, {"integer", ColumnKind::Integer},
        {"int", ColumnKind::Integer},       {"long", ColumnKind::Integer},
        {"smallint", ColumnKind::Integer},  {"short", ColumnKind::Integer},
        {"byte", ColumnKind::Integer},      {"tinyint", ColumnKind::Integer},
        {"counter", ColumnKind::Integer},   {"autoincrement", ColumnKind::Integer},
        {"bit", ColumnKind::Integer},       {"yesno", ColumnKind::Integer},
        {"logical", ColumnKind::Integer},   {"numeric", ColumnKind::Decimal},
        {"decimal", ColumnKind::Decimal},   {"dec", ColumnKind::Decimal},
        {"currency", ColumnKind::Decimal},  {"money", ColumnKind::Decimal},
        {"double", ColumnKind::Decimal},    {"float", ColumnKind::Decimal},
        {"single", ColumnKind::Decimal},    {"real", ColumnKind::Decimal},
        {"number", ColumnKind::Decimal},    {"date", ColumnKind::Date},
        {"datetime", ColumnKind::Date},     {"time", ColumnKind::Date},
        {"timestamp", ColumnKind::Date},
    };
    for (const auto& [name, kind] : types)
        if (equalsNoCase(name, word)) return kind;
    return std::nullopt;
}

namespace {

class Translator {
public:
    Translator(std::string_view sql, SchemaLookup& schema, const JetRenderer& renderer)
        : toks_(tokenizeJet(sql)),
          schema_(schema),
          renderer_(renderer),
          prefix_(toks_.size()),
          suffix_(toks_.size()) {}

    Translation run() {
        Translation t;
        if (toks_.empty()) return t;
        const Token& first = toks_[0];
        t.changesSchema = first.is("alter") || first.is("create") || first.is("drop");
        if (first.is("alter") && toks_.size() > 4 && toks_[1].is("table")) {
            if (auto sql = alterAdd()) {
                t.sql = *sql;
                return t;
            }
        }
        if (first.is("insert")) wrapInsert();
        if (first.is("update")) wrapUpdate();
        if (renderer_.comparesStoredDatesDirectly()) unwrapDateBounds();
        t.sql = render(0, toks_.size());
        return t;
    }

private:
    bool isName(size_t i) const {
        return i < toks_.size() &&
               (toks_[i].kind == TokenKind::Word || toks_[i].kind == TokenKind::QuotedName);
    }

    bool isWholeNumber(size_t i, bool positive) const {
        if (i >= toks_.size() || toks_[i].kind != TokenKind::Number) return false;
        const std::string& n = toks_[i].text;
        if (n.empty() || n.size() > 9 || n.find_first_not_of("0123456789") != std::string::npos) return false;
        return !positive || std::stoi(n) >= 1;
    }

    // "mid ( name [. name] , start , length )" with whole-number literals start >= 1, length >= 0.
    bool isLiteralMid(size_t i) const {
        size_t j = i + 1;
        if (j >= toks_.size() || !toks_[j].is("(") || !isName(++j)) return false;
        if (j + 2 < toks_.size() && toks_[j + 1].is(".") && isName(j + 2)) j += 2;
        return j + 5 < toks_.size() && toks_[j + 1].is(",") && isWholeNumber(j + 2, true) &&
               toks_[j + 3].is(",") && isWholeNumber(j + 4, false) && toks_[j + 5].is(")");
    }

    std::string renderToken(size_t i) const {
        const Token& t = toks_[i];
        switch (t.kind) {
            case TokenKind::Word:
                if (renderer_.writesLiteralMidAsSubstr() && t.is("mid") && isLiteralMid(i)) return "substr";
                return renderer_.word(t.text, i + 1 < toks_.size() && toks_[i + 1].is("("));
            case TokenKind::QuotedName:
                return renderer_.quotedName(t.text);
            case TokenKind::String: {
                if (i > 0 && toks_[i - 1].is("like")) {
                    if (auto escaped = likePatternWithEscapes(t.text))
                        return QuotedStr(*escaped) + " ESCAPE '\\'";
                    return QuotedStr(t.text);
                }
                // Text comparisons ignore letter case also where the other side is an expression
                // (mid(...)='abc'), not only where it is a column declared without case.
                if (i > 0 && isComparison(toks_[i - 1])) return renderer_.comparedText(t.text);
                return QuotedStr(t.text);
            }
            case TokenKind::Date:
                return QuotedStr(dateLiteral(t.text));
            case TokenKind::Param:
                return t.text.empty() ? std::string("?") : std::string(1, ':').append(toLowerAscii(t.text));
            case TokenKind::Punct:
                return renderer_.punct(t.text);
            case TokenKind::Number:
                return t.text;
        }
        return t.text;
    }

    std::string render(size_t b, size_t e) const {
        std::string out;
        for (size_t i = b; i < e; ++i) {
            if (skip_[i]) continue;
            const Token& t = toks_[i];
            bool afterLiteral =
                i > b && (toks_[i - 1].kind == TokenKind::String || toks_[i - 1].kind == TokenKind::Date);
            if (!out.empty() && (t.spaceBefore || afterLiteral)) out += ' ';
            out += prefix_[i];
            out += renderToken(i);
            out += suffix_[i];
        }
        return out;
    }

    // "alter table T add [column] name type [(n [,m])] ...": the Jet type becomes the engine's
    // column definition with the checks of its kind.
    std::optional<std::string> alterAdd() {
        size_t i = 2;
        if (!isName(i)) return std::nullopt;
        size_t table = i++;
        if (!toks_[i].is("add")) return std::nullopt;
        ++i;
        if (i < toks_.size() && toks_[i].is("column")) ++i;
        if (!isName(i) || i + 1 >= toks_.size()) return std::nullopt;
        ColumnInfo col;
        col.name = toks_[i].text;
        ++i;
        auto kind = toks_[i].kind == TokenKind::Word ? jetTypeKind(toks_[i].text) : std::nullopt;
        if (!kind) throw DbError("字段定义的语法错误：未知的字段类型“" + toks_[i].text + "”");
        col.kind = *kind;
        ++i;
        if (i < toks_.size() && toks_[i].is("(")) {
            size_t close = i;
            while (close < toks_.size() && !toks_[close].is(")"))
                ++close;
            if (close == toks_.size()) throw DbError("字段定义的语法错误：缺少 )");
            if (col.kind == ColumnKind::Text && toks_[i + 1].kind == TokenKind::Number)
                col.width = std::stoi(toks_[i + 1].text);
            i = close + 1;
        }
        std::string sql =
            "ALTER TABLE " + renderToken(table) + " ADD COLUMN " + renderer_.columnDefinition(col);
        if (i < toks_.size()) sql.append(1, ' ').append(render(i, toks_.size()));
        return sql;
    }

    // "format(D, 'yyyy-mm-dd hh:mm:ss') >= 'YYYY-MM-DD'" (and "<"), D a date column of the program's
    // tables, becomes "D >= 'YYYY-MM-DD'": a stored date is canonical text, and for these two
    // operators against a date without time both compare alike (the formatted text only appends
    // " 00:00:00" to a date without time). The column's index can then find the range.
    void unwrapDateBounds() {
        auto isDateColumn = [](std::string_view name) {
            bool date = false;
            for (const auto& table : DefaultTables())
                for (const auto& c : table.columns)
                    if (equalsNoCase(c.name, name)) {
                        if (c.kind != ColumnKind::Date) return false;
                        date = true;
                    }
            return date;
        };
        auto isPlainDate = [](const Token& t) {
            if (t.kind != TokenKind::String || t.text.size() != 10) return false;
            for (size_t k = 0; k < 10; ++k)
                if ((k == 4 || k == 7) ? t.text[k] != '-' : !(t.text[k] >= '0' && t.text[k] <= '9'))
                    return false;
            return true;
        };
        for (size_t i = 0; i + 7 < toks_.size(); ++i) {
            if (!toks_[i].is("format") || !toks_[i + 1].is("(") || !isName(i + 2)) continue;
            size_t name = i + 2, after = i + 3;
            if (toks_[after].is(".") && isName(after + 1)) name = after + 1, after += 2;
            if (after + 4 >= toks_.size()) continue;
            const Token& pattern = toks_[after + 1];
            if (!toks_[after].is(",") || pattern.kind != TokenKind::String ||
                !equalsNoCase(pattern.text, "yyyy-mm-dd hh:mm:ss") || !toks_[after + 2].is(")") ||
                !(toks_[after + 3].is(">=") || toks_[after + 3].is("<")) || !isPlainDate(toks_[after + 4]) ||
                !isDateColumn(toks_[name].text))
                continue;
            for (size_t k : {i, i + 1, after, after + 1, after + 2})
                skip_[k] = true;
            toks_[i + 2].spaceBefore = toks_[i].spaceBefore;
        }
    }

    size_t skipParens(size_t i) const {  // i at "(": index after the matching ")"
        int depth = 0;
        for (; i < toks_.size(); ++i) {
            if (toks_[i].is("(")) ++depth;
            if (toks_[i].is(")") && --depth == 0) return i + 1;
        }
        return toks_.size();
    }

    // Items of a comma list from b up to (not including) the first top-level token for which
    // stop() is true. Returns [begin, end) pairs and sets `end` to where the list stopped.
    template <class Stop>
    std::vector<std::pair<size_t, size_t>> splitList(size_t b, Stop stop, size_t& end) const {
        std::vector<std::pair<size_t, size_t>> items;
        size_t start = b;
        int depth = 0;
        size_t i = b;
        for (; i < toks_.size(); ++i) {
            const Token& t = toks_[i];
            if (t.is("("))
                ++depth;
            else if (t.is(")")) {
                if (depth == 0) break;
                --depth;
            } else if (depth == 0 && t.is(",")) {
                items.emplace_back(start, i);
                start = i + 1;
            } else if (depth == 0 && stop(t)) {
                break;
            }
        }
        items.emplace_back(start, i);
        end = i;
        return items;
    }

    void wrap(size_t b, size_t e, const ColumnInfo& col, const std::string& table) {
        if (b >= e || col.kind == ColumnKind::Text) return;
        auto [before, after] = renderer_.conversion(col.kind, table + "." + col.name);
        prefix_[b] = before + prefix_[b];
        suffix_[e - 1] += after;
    }

    // A select-list item without its alias ("expr as name" or "expr name").
    size_t itemValueEnd(size_t b, size_t e) const {
        int depth = 0;
        for (size_t i = b; i < e; ++i) {
            if (toks_[i].is("("))
                ++depth;
            else if (toks_[i].is(")"))
                --depth;
            else if (depth == 0 && toks_[i].is("as"))
                return i;
        }
        if (e - b >= 2 && toks_[e - 1].kind == TokenKind::Word) {
            const Token& prev = toks_[e - 2];
            bool valueBefore = prev.kind != TokenKind::Punct || prev.is(")");
            if (valueBefore && !prev.is("not") && !prev.is("is") && !prev.is("collate") &&
                !toks_[e - 1].is("null") && !toks_[e - 1].is("end"))
                return e - 1;
        }
        return e;
    }

    const ColumnInfo* findColumn(const std::vector<ColumnInfo>& cols, std::string_view name) const {
        for (const auto& c : cols)
            if (equalsNoCase(c.name, name)) return &c;
        return nullptr;
    }

    void wrapInsert() {
        size_t i = 1;
        if (i < toks_.size() && toks_[i].is("into")) ++i;
        if (!isName(i)) return;
        const std::string table = toks_[i].text;
        const auto* cols = schema_.columns(table);
        if (!cols) return;
        ++i;
        std::vector<const ColumnInfo*> targets;
        if (i < toks_.size() && toks_[i].is("(")) {
            size_t end = 0;
            for (auto [b, e] : splitList(
                     i + 1, [](const Token&) { return false; }, end)) {
                if (e != b + 1 || !isName(b)) return;
                targets.push_back(findColumn(*cols, toks_[b].text));
            }
            i = end + 1;
        } else {
            for (const auto& c : *cols)
                targets.push_back(&c);
        }
        if (i >= toks_.size()) return;
        auto apply = [&](const std::vector<std::pair<size_t, size_t>>& items, bool selectList) {
            // "select *" or "select T.*" gives columns that cannot be matched to the targets here;
            // the column checks of the table still hold.
            for (auto [b, e] : items)
                if (selectList && e > b && toks_[e - 1].is("*")) return;
            for (size_t k = 0; k < items.size() && k < targets.size(); ++k) {
                if (!targets[k]) continue;
                auto [b, e] = items[k];
                wrap(b, selectList ? itemValueEnd(b, e) : e, *targets[k], table);
            }
        };
        if (toks_[i].is("values")) {
            ++i;
            while (i < toks_.size() && toks_[i].is("(")) {
                size_t end = 0;
                apply(splitList(
                          i + 1, [](const Token&) { return false; }, end),
                      false);
                i = end + 1;
                if (i < toks_.size() && toks_[i].is(","))
                    ++i;
                else
                    break;
            }
        } else if (toks_[i].is("select")) {
            ++i;
            if (i < toks_.size() && (toks_[i].is("distinct") || toks_[i].is("all"))) ++i;
            size_t end = 0;
            auto stop = [](const Token& t) {
                return t.is("from") || t.is("where") || t.is("group") || t.is("order") || t.is("having") ||
                       t.is("union");
            };
            apply(splitList(i, stop, end), true);
        }
    }

    void wrapUpdate() {
        size_t i = 1;
        if (!isName(i)) return;
        const std::string table = toks_[i].text;
        const auto* cols = schema_.columns(table);
        if (!cols) return;
        ++i;
        if (i >= toks_.size() || !toks_[i].is("set")) return;
        size_t end = 0;
        for (auto [b, e] : splitList(
                 i + 1, [](const Token& t) { return t.is("where"); }, end)) {
            size_t eq = b;
            while (eq < e && !toks_[eq].is("="))
                ++eq;
            if (eq == b || eq >= e || !isName(eq - 1)) continue;
            if (const auto* col = findColumn(*cols, toks_[eq - 1].text)) wrap(eq + 1, e, *col, table);
        }
    }

    std::vector<Token> toks_;
    SchemaLookup& schema_;
    const JetRenderer& renderer_;
    std::vector<std::string> prefix_, suffix_;
    std::vector<bool> skip_ = std::vector<bool>(toks_.size(), false);
};

}  // namespace

Translation translateJet(std::string_view jetSql, SchemaLookup& schema, const JetRenderer& renderer) {
    return Translator(jetSql, schema, renderer).run();
}

}  // namespace ca::db
