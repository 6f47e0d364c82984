#include "JetLexer.h"

#include <cctype>

#include "ca/db/DbError.h"

namespace ca::db {

namespace {

bool isWordStart(unsigned char c) {
    return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool isWordChar(unsigned char c) {
    return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80;
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void unterminated(std::string_view what, std::string_view sql, size_t at) {
    throw DbError("语法错误：语句第 " + std::to_string(at + 1) + " 个字符处的" + std::string(what) +
                  "没有结束：" + std::string(sql));
}

}  // namespace

bool Token::is(std::string_view word) const {
    return (kind == TokenKind::Word || kind == TokenKind::Punct) && equalsNoCase(text, word);
}

std::vector<Token> tokenizeJet(std::string_view sql) {
    std::vector<Token> out;
    size_t i = 0;
    const size_t n = sql.size();
    bool space = false;
    auto push = [&](TokenKind k, std::string text) {
        out.push_back(Token{k, std::move(text), space});
        space = false;
    };
    while (i < n) {
        const char c = sql[i];
        const auto uc = static_cast<unsigned char>(c);
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
            space = true;
            ++i;
        } else if (c == '\'' || c == '"') {
            // Jet takes both quote characters as text delimiters; a doubled quote stands for one.
            std::string value;
            size_t start = i++;
            for (;;) {
                if (i >= n) unterminated("文本", sql, start);
                if (sql[i] == c) {
                    if (i + 1 < n && sql[i + 1] == c) {
                        value += c;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += sql[i++];
            }
            push(TokenKind::String, std::move(value));
        } else if (c == '[' || c == '`') {
            const char close = c == '[' ? ']' : '`';
            size_t end = sql.find(close, i + 1);
            if (end == std::string_view::npos) unterminated("名称", sql, i);
            push(TokenKind::QuotedName, std::string(sql.substr(i + 1, end - i - 1)));
            i = end + 1;
        } else if (c == '#') {
            size_t end = sql.find('#', i + 1);
            if (end == std::string_view::npos) unterminated("日期", sql, i);
            push(TokenKind::Date, std::string(sql.substr(i + 1, end - i - 1)));
            i = end + 1;
        } else if (c == ':' && i + 1 < n && isWordStart(static_cast<unsigned char>(sql[i + 1]))) {
            size_t j = i + 1;
            while (j < n && isWordChar(static_cast<unsigned char>(sql[j])))
                ++j;
            push(TokenKind::Param, std::string(sql.substr(i + 1, j - i - 1)));
            i = j;
        } else if (c == '?') {
            push(TokenKind::Param, "");
            ++i;
        } else if (isDigit(c) || (c == '.' && i + 1 < n && isDigit(sql[i + 1]))) {
            size_t j = i;
            while (j < n && isDigit(sql[j]))
                ++j;
            if (j < n && sql[j] == '.') {
                ++j;
                while (j < n && isDigit(sql[j]))
                    ++j;
            }
            if (j < n && (sql[j] == 'e' || sql[j] == 'E')) {
                size_t k = j + 1;
                if (k < n && (sql[k] == '+' || sql[k] == '-')) ++k;
                if (k < n && isDigit(sql[k])) {
                    j = k;
                    while (j < n && isDigit(sql[j]))
                        ++j;
                }
            }
            push(TokenKind::Number, std::string(sql.substr(i, j - i)));
            i = j;
        } else if (isWordStart(uc)) {
            size_t j = i;
            while (j < n && isWordChar(static_cast<unsigned char>(sql[j])))
                ++j;
            push(TokenKind::Word, std::string(sql.substr(i, j - i)));
            i = j;
        } else {
            static const std::string_view pairs[] = {"<=", ">=", "<>", "!=", "||", "=="};
            std::string_view two = sql.substr(i, 2);
            bool matched = false;
            for (auto p : pairs) {
                if (two == p) {
                    push(TokenKind::Punct, std::string(p));
                    i += 2;
                    matched = true;
                    break;
                }
            }
            if (!matched) {
                push(TokenKind::Punct, std::string(1, c));
                ++i;
            }
        }
    }
    return out;
}

}  // namespace ca::db
