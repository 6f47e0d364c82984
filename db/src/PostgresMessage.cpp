#include "PostgresMessage.h"

#include "JetLexer.h"
#include "ca/db/Schema.h"

namespace ca::db {

namespace {

// The text between the n-th pair of double quotes of a message (0 for the first), empty if none.
std::string quoted(std::string_view message, int n = 0) {
    size_t at = 0;
    for (int k = 0;; ++k) {
        const size_t open = message.find('"', at);
        if (open == std::string_view::npos) return {};
        const size_t close = message.find('"', open + 1);
        if (close == std::string_view::npos) return {};
        if (k == n) return std::string(message.substr(open + 1, close - open - 1));
        at = close + 1;
    }
}

// The name as the statement writes it when it names it (the server reports unquoted names in
// lower case), else the program's spelling of a table name.
std::string asWritten(std::string_view name, std::string_view jetSql) {
    try {
        for (const auto& t : tokenizeJet(jetSql))
            if ((t.kind == TokenKind::Word || t.kind == TokenKind::QuotedName) && equalsNoCase(t.text, name))
                return t.text;
    } catch (...) {
        // A statement that cannot be split names nothing.
    }
    return spelledTable(name);
}

std::string firstLine(std::string_view text) {
    const size_t end = text.find('\n');
    std::string line(text.substr(0, end));
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '.'))
        line.pop_back();
    return line;
}

}  // namespace

std::string spelledTable(std::string_view lowerName) {
    for (const auto& table : DefaultTables())
        if (equalsNoCase(table.name, lowerName)) return table.name;
    return std::string(lowerName);
}

std::string spelledColumn(std::string_view lowerTable, std::string_view lowerColumn) {
    for (const auto& table : DefaultTables()) {
        if (!equalsNoCase(table.name, lowerTable)) continue;
        for (const auto& c : table.columns)
            if (equalsNoCase(c.name, lowerColumn)) return c.name;
    }
    return std::string(lowerColumn);
}

bool namesTheStatement(const ServerError& e) {
    return e.sqlstate.starts_with("42");
}

std::string chineseServerMessage(const ServerError& e, std::string_view jetSql) {
    const std::string& m = e.message;
    // Texts raised by this program's own functions are Chinese already.
    if (!m.empty() && static_cast<unsigned char>(m[0]) >= 0x80) return m;
    const std::string_view s = e.sqlstate;
    if (s == "42P01") return "数据表“" + asWritten(quoted(m), jetSql) + "”不存在";
    if (s == "42703") {
        const std::string column = asWritten(quoted(m), jetSql), table = quoted(m, 1);
        if (!table.empty()) return "数据表“" + asWritten(table, jetSql) + "”中没有字段“" + column + "”";
        return "字段“" + column + "”不存在";
    }
    if (s == "42601") {
        const std::string near = quoted(m);
        if (m.starts_with("unterminated quoted string"))
            return "语法错误：引号没有结束" + (near.empty() ? std::string() : "（在 " + near + " 附近）");
        if (m.starts_with("unterminated quoted identifier"))
            return "语法错误：双引号没有结束" + (near.empty() ? std::string() : "（在 " + near + " 附近）");
        if (near.empty()) return "语法错误：语句不完整";
        return "语法错误：在 \"" + asWritten(near, jetSql) + "\" 附近";
    }
    if (s == "23505") {
        // Key (ty_no)=(abc) already exists.
        std::string column;
        if (const size_t open = e.detail.find('('), close = e.detail.find(")=");
            open != std::string::npos && close != std::string::npos && close > open)
            column = e.detail.substr(open + 1, close - open - 1);
        return "字段“" + spelledTable(e.table) + "." + spelledColumn(e.table, column) +
               "”中已有相同的值，不能重复";
    }
    if (s == "23502")
        return "字段“" + spelledTable(e.table) + "." + spelledColumn(e.table, e.column) + "”不能为空";
    if (s == "23514") {
        if (e.datatype == "ca_date") return "数据类型不匹配：日期必须写成 YYYY-MM-DD 或 YYYY-MM-DD HH:MM:SS";
        return "数据类型不匹配：字段“" + e.constraint + "”不能接受给定的值";
    }
    if (s == "42803") {
        // column "loaddata.phone" must appear in the GROUP BY clause or be used in an aggregate function
        std::string column = quoted(m);
        if (const size_t dot = column.find('.'); dot != std::string::npos)
            column = spelledTable(column.substr(0, dot)) + "." +
                     spelledColumn(column.substr(0, dot), column.substr(dot + 1));
        return "字段“" + column + "”既不在 group by 中，也不在合计函数中";
    }
    if (s == "42701") return "字段“" + asWritten(quoted(m), jetSql) + "”已经存在";
    if (s == "42702") return "字段名“" + asWritten(quoted(m), jetSql) + "”不明确（几个数据表中都有这个字段）";
    if (s == "42723") {
        // function ca_mid(text) already exists with same argument types
        const size_t paren = m.find('(');
        std::string name = m.substr(0, paren);
        if (name.starts_with("function ")) name = name.substr(9);
        return "函数“" + name + "”已经存在";
    }
    if (s == "42710") return "对象“" + quoted(m) + "”已经存在";
    if (s == "42P07") return "数据表“" + asWritten(quoted(m), jetSql) + "”已经存在";
    if (s == "42883") {
        // function foo(integer) does not exist / operator does not exist: citext = integer
        if (m.starts_with("operator"))
            return "数据类型不匹配：这两种数据不能比较或运算（" + firstLine(m) + "）";
        std::string name;
        if (const size_t paren = m.find('('); paren != std::string::npos) {
            size_t b = paren;
            while (b > 0 && m[b - 1] != ' ')
                --b;
            name = m.substr(b, paren - b);
        }
        return "不支持函数“" + asWritten(name, jetSql) + "”";
    }
    if (s == "22P02" || s == "22007" || s == "22008") {
        const std::string value = quoted(m);
        return "数据类型不匹配：不能接受 “" + value + "”";
    }
    if (s == "22003") return "数据类型不匹配：数值超出范围";
    if (s == "22012") return "除数为零";
    if (s == "55P03" || s == "40P01" || s == "40001") return "数据库正被其他程序使用（已锁定），请稍后再试";
    if (s == "57014") return "操作被中断";
    if (s == "53100") return "数据库或磁盘已满";
    if (s == "53200") return "内存不足";
    if (s == "25P02") return "这个操作中前面的语句已经失败，整个操作已撤销";
    if (s == "42501") return "没有权限（服务器的说明：" + firstLine(m) + "）";
    if (s == "57P01" || s == "57P02" || s == "57P03") return "数据库服务器正在关闭或重新启动，请稍后再试";
    if (s == "53300") return "数据库服务器的连接数已满，请稍后再试";
    if (s == "3D000") return "服务器上没有这个数据库";
    if (s == "0A000") return "数据库服务器不支持这个操作（服务器的说明：" + firstLine(m) + "）";
    return "数据库服务器报告了错误（服务器的说明：" + firstLine(m) + "）";
}

std::string chineseConnectionMessage(std::string_view libpqMessage) {
    const std::string m = firstLine(libpqMessage);
    auto has = [&](std::string_view part) { return libpqMessage.find(part) != std::string_view::npos; };
    if (has("password authentication failed") || has("authentication failed"))
        return "用户名或密码不对（" + m + "）";
    if (has("no password supplied")) return "服务器要求密码，但设置中没有密码";
    if (has("could not translate host name")) return "找不到服务器的主机名（" + m + "）";
    if (has("timeout expired")) return "连接超时，服务器没有回应";
    // Encrypted connections (sslmode, sslrootcert).
    if (has("server does not support SSL")) return "服务器没有开启加密连接（SSL），而设置要求加密（sslmode）";
    if (has("root certificate file") && has("does not exist"))
        return "找不到验证服务器证书所需的根证书文件（" + m + "）";
    if (has("does not match host name")) return "服务器证书上的名称与设置中的服务器地址不符（" + m + "）";
    if (has("certificate verify failed")) return "服务器的证书无法用根证书验证（" + m + "）";
    if (has("no pg_hba.conf entry"))
        return "服务器不接受这样的连接：服务器的 pg_hba.conf 中没有与此地址、用户和加密方式相符的条目（" + m +
               "）";
    if (has("Connection refused") || has("No such file or directory"))
        return "服务器没有运行，或者地址、端口不对（" + m + "）";
    // The name after `database "` or `role "`; the message may name the socket first.
    auto nameAfter = [&](std::string_view word) {
        const size_t at = libpqMessage.find(word);
        return quoted(libpqMessage.substr(at + word.size() - 1));
    };
    if (has("does not exist")) {
        if (has("database \"")) return "服务器上没有数据库“" + nameAfter("database \"") + "”";
        if (has("role \"")) return "服务器上没有用户“" + nameAfter("role \"") + "”";
    }
    if (has("the database system is shutting down") || has("due to administrator command") ||
        has("immediate shutdown"))
        return "数据库服务器正在关闭";
    if (has("the database system is starting up") || has("the database system is in recovery mode"))
        return "数据库服务器正在启动，请稍后再试";
    if (has("too many clients") || has("remaining connection slots"))
        return "数据库服务器的连接数已满，请稍后再试";
    if (has("invalid connection option")) return "连接设置中有无法识别的项“" + quoted(libpqMessage) + "”";
    if (has("missing \"=\" after")) return "连接设置无法读取：“" + quoted(libpqMessage) + "”后面缺少“=”";
    if (has("unterminated quoted string")) return "连接设置无法读取：引号没有结束";
    if (has("invalid URI") || has("invalid percent-encoded") || has("invalid integer value") ||
        has("invalid port number") || has("invalid value"))
        return "连接设置无法读取（服务器程序库的说明：" + m + "）";
    if (has("terminating connection") || has("server closed the connection") || has("no connection"))
        return "服务器关闭了连接（服务器的说明：" + m + "）";
    if (m.empty()) return "原因不明";
    if (static_cast<unsigned char>(m[0]) >= 0x80) return m;
    return "连接失败（服务器的说明：" + m + "）";
}

}  // namespace ca::db
