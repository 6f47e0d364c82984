// How a database is named: a path that names a desk's file, or a PostgreSQL server given as libpq
// takes it (keyword/value pairs, a postgresql:// address) or as a bare host name or address.
#include <algorithm>
#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "JetLexer.h"
#include "ca/db/DatabaseTarget.h"
#include "ca/db/TADOConnection.h"

namespace ca::db {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// The keywords of a libpq connection string.
bool isConnectionKeyword(std::string_view word) {
    static constexpr std::array<std::string_view, 43> keywords = {"host",
                                                                  "hostaddr",
                                                                  "port",
                                                                  "dbname",
                                                                  "user",
                                                                  "password",
                                                                  "passfile",
                                                                  "channel_binding",
                                                                  "connect_timeout",
                                                                  "client_encoding",
                                                                  "options",
                                                                  "application_name",
                                                                  "fallback_application_name",
                                                                  "keepalives",
                                                                  "keepalives_idle",
                                                                  "keepalives_interval",
                                                                  "keepalives_count",
                                                                  "tcp_user_timeout",
                                                                  "replication",
                                                                  "sslmode",
                                                                  "sslcompression",
                                                                  "sslcert",
                                                                  "sslkey",
                                                                  "sslpassword",
                                                                  "sslrootcert",
                                                                  "sslcrl",
                                                                  "sslcrldir",
                                                                  "sslsni",
                                                                  "requirepeer",
                                                                  "ssl_min_protocol_version",
                                                                  "ssl_max_protocol_version",
                                                                  "gssencmode",
                                                                  "krbsrvname",
                                                                  "gsslib",
                                                                  "gssdelegation",
                                                                  "service",
                                                                  "target_session_attrs",
                                                                  "load_balance_hosts",
                                                                  "require_auth",
                                                                  "sslcertmode",
                                                                  "requiressl",
                                                                  "authtype",
                                                                  "tty"};
    return std::find(keywords.begin(), keywords.end(), word) != keywords.end();
}

struct Pair {
    std::string keyword;
    std::string value;
    size_t valueBegin = 0;  // where the value stands in the text, as written
    size_t valueEnd = 0;
};

// The pairs of a libpq keyword string, read as libpq reads them: "keyword = value" with optional
// blanks around "=", a value in single quotes (with backslash escapes inside) or up to the next
// blank (a backslash escaping the next character). Reading stops at the first word without "=".
std::vector<Pair> connectionPairs(std::string_view text) {
    std::vector<Pair> pairs;
    size_t i = 0;
    for (;;) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i >= text.size()) break;
        Pair p;
        while (i < text.size() && text[i] != '=' && !isBlank(text[i]))
            p.keyword += text[i++];
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i >= text.size() || text[i] != '=') return pairs;
        ++i;
        while (i < text.size() && isBlank(text[i]))
            ++i;
        p.valueBegin = i;
        if (i < text.size() && text[i] == '\'') {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                if (text[i] == '\\' && i + 1 < text.size()) {
                    p.value += text[i + 1];
                    i += 2;
                } else if (text[i] == '\'') {
                    ++i;
                    closed = true;
                    break;
                } else {
                    p.value += text[i++];
                }
            }
            p.valueEnd = i;
            pairs.push_back(std::move(p));
            if (!closed) return pairs;
        } else {
            while (i < text.size() && !isBlank(text[i])) {
                if (text[i] == '\\' && i + 1 < text.size()) ++i;
                p.value += text[i++];
            }
            p.valueEnd = i;
            pairs.push_back(std::move(p));
        }
    }
    return pairs;
}

bool isUri(std::string_view text) {
    return text.starts_with("postgresql://") || text.starts_with("postgres://");
}

bool isIpv4(std::string_view s) {
    int parts = 0;
    size_t i = 0;
    while (i <= s.size()) {
        size_t e = s.find('.', i);
        if (e == std::string_view::npos) e = s.size();
        const std::string_view part = s.substr(i, e - i);
        if (part.empty() || part.size() > 3) return false;
        int n = 0;
        for (char c : part) {
            if (c < '0' || c > '9') return false;
            n = n * 10 + (c - '0');
        }
        if (n > 255) return false;
        ++parts;
        i = e + 1;
        if (e == s.size()) break;
    }
    return parts == 4;
}

bool isIpv6(std::string_view s) {
    if (s.size() > 2 && s.front() == '[' && s.back() == ']') s = s.substr(1, s.size() - 2);
    if (std::count(s.begin(), s.end(), ':') < 2) return false;
    return std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' ||
               c == '.';
    });
}

bool isHostName(std::string_view s) {
    if (s.empty() || s.size() > 253) return false;
    size_t i = 0;
    while (i <= s.size()) {
        size_t e = s.find('.', i);
        if (e == std::string_view::npos) e = s.size();
        const std::string_view label = s.substr(i, e - i);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
        for (char c : label)
            if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'))
                return false;
        if (e == s.size()) break;
        i = e + 1;
    }
    return true;
}

// The endings of database files: such a name is a file even where it could be a host name.
bool hasDatabaseFileEnding(std::string_view s) {
    const std::string lower = toLowerAscii(s);
    for (std::string_view ending : {".sqlite", ".sqlite3", ".db", ".db3", ".s3db", ".sl3", ".mdb", ".accdb"})
        if (lower.size() > ending.size() && lower.ends_with(ending)) return true;
    return false;
}

bool isExistingFile(std::string_view s) {
    std::error_code ec;
    const std::filesystem::path p(std::u8string(reinterpret_cast<const char8_t*>(s.data()), s.size()));
    return std::filesystem::exists(p, ec);
}

// A libpq keyword string: it names at least one of libpq's keywords before its first word that is
// not a pair (which libpq then refuses with a message rather than this becoming a file).
bool isKeywordString(std::string_view text) {
    for (const auto& p : connectionPairs(text))
        if (isConnectionKeyword(toLowerAscii(p.keyword))) return true;
    return false;
}

// The semicolon form of ADO and ODBC ("Provider=…;Password=…;Data Source=…", "Server=…;Uid=…;
// Pwd=…;"): at least one ";" and every part between them a "key=value" whose key is a word (letters,
// digits, blanks, underscores). Such a text is never a file name, and libpq cannot read it either.
// The keys as written, in order.
std::vector<std::string> semicolonKeys(std::string_view text) {
    if (text.find(';') == std::string_view::npos) return {};
    std::vector<std::string> keys;
    size_t i = 0;
    while (i <= text.size()) {
        size_t e = text.find(';', i);
        if (e == std::string_view::npos) e = text.size();
        const std::string_view part = trimmed(text.substr(i, e - i));
        if (!part.empty()) {
            const size_t eq = part.find('=');
            if (eq == std::string_view::npos) return {};
            const std::string_view key = trimmed(part.substr(0, eq));
            if (key.empty() || !std::all_of(key.begin(), key.end(), [](char c) {
                    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                           c == '_' || c == ' ';
                }))
                return {};
            keys.emplace_back(key);
        }
        if (e == text.size()) break;
        i = e + 1;
    }
    return keys;
}

// The authority of a postgresql:// address: what stands between "://" and the path or query.
std::string_view uriAuthority(std::string_view target) {
    const size_t from = target.find("://") + 3;
    const size_t end = target.find_first_of("/?", from);
    return target.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
}

bool isBareServer(std::string_view text) {
    if (text.find('/') != std::string_view::npos || text.find('\\') != std::string_view::npos) return false;
    if (isIpv4(text) || isIpv6(text)) return true;
    if (hasDatabaseFileEnding(text) || isExistingFile(text)) return false;
    return isHostName(text);
}

// "[::1]": an address in brackets, as a postgresql:// address writes it.
std::string_view withoutBrackets(std::string_view host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') return host.substr(1, host.size() - 2);
    return host;
}

void addSecret(std::vector<std::string>& secrets, std::string_view s) {
    s = trimmed(s);
    if (!s.empty()) secrets.emplace_back(s);
}

// A password in the old program's "key=value;key=value" form, inside a value or the whole text.
void addSemicolonPasswords(std::vector<std::string>& secrets, std::string_view text) {
    size_t i = 0;
    while (i <= text.size()) {
        size_t e = text.find(';', i);
        if (e == std::string_view::npos) e = text.size();
        const std::string_view part = text.substr(i, e - i);
        if (const size_t eq = part.find('='); eq != std::string_view::npos) {
            const std::string key = toLowerAscii(trimmed(part.substr(0, eq)));
            if (key.ends_with("password") || key.ends_with("pwd")) addSecret(secrets, part.substr(eq + 1));
        }
        if (e == text.size()) break;
        i = e + 1;
    }
}

std::string percentDecoded(std::string_view s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        auto hex = [](char c) {
            return c >= '0' && c <= '9'   ? c - '0'
                   : c >= 'a' && c <= 'f' ? c - 'a' + 10
                   : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                          : -1;
        };
        if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
            out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Every text in `target` that is a password, as written and as read, longest first.
std::vector<std::string> passwordsIn(std::string_view target) {
    std::vector<std::string> secrets;
    addSemicolonPasswords(secrets, target);
    if (isUri(target)) {
        const std::string_view authority = uriAuthority(target);
        if (const size_t at = authority.rfind('@'); at != std::string_view::npos) {
            const std::string_view userInfo = authority.substr(0, at);
            if (const size_t colon = userInfo.find(':'); colon != std::string_view::npos) {
                addSecret(secrets, userInfo.substr(colon + 1));
                addSecret(secrets, percentDecoded(userInfo.substr(colon + 1)));
            }
            // An "@" in the password not written as %40: libpq ends the password at the first "@"
            // and takes the rest for the host. Every piece after the user name is hidden.
            const size_t userEnd = userInfo.find_first_of(":@");
            if (userEnd != std::string_view::npos) {
                const std::string_view rest = userInfo.substr(userEnd + 1);
                size_t b = 0;
                while (b <= rest.size()) {
                    size_t e = rest.find_first_of(":@", b);
                    if (e == std::string_view::npos) e = rest.size();
                    addSecret(secrets, rest.substr(b, e - b));
                    if (e == rest.size()) break;
                    b = e + 1;
                }
            }
        }
        if (const size_t q = target.find('?'); q != std::string_view::npos) {
            std::string_view query = target.substr(q + 1);
            size_t i = 0;
            while (i <= query.size()) {
                size_t e = query.find('&', i);
                if (e == std::string_view::npos) e = query.size();
                const std::string_view part = query.substr(i, e - i);
                if (const size_t eq = part.find('=');
                    eq != std::string_view::npos &&
                    toLowerAscii(percentDecoded(part.substr(0, eq))).ends_with("password")) {
                    addSecret(secrets, part.substr(eq + 1));
                    addSecret(secrets, percentDecoded(part.substr(eq + 1)));
                }
                if (e == query.size()) break;
                i = e + 1;
            }
        }
    } else {
        const auto pairs = connectionPairs(target);
        for (size_t k = 0; k < pairs.size(); ++k) {
            const Pair& p = pairs[k];
            addSemicolonPasswords(secrets, p.value);
            if (!toLowerAscii(p.keyword).ends_with("password")) continue;
            addSecret(secrets, p.value);
            addSecret(secrets, target.substr(p.valueBegin, p.valueEnd - p.valueBegin));
            // An unquoted password with a blank: libpq stops at the blank and refuses the rest,
            // which is still the password; everything up to the next pair is hidden.
            const size_t next = k + 1 < pairs.size() ? pairs[k + 1].valueBegin : target.size();
            if (k + 1 < pairs.size()) {
                const std::string_view between = target.substr(p.valueEnd, next - p.valueEnd);
                const size_t keyAt = between.rfind(pairs[k + 1].keyword);
                const std::string_view rest =
                    between.substr(0, keyAt == std::string_view::npos ? between.size() : keyAt);
                addSecret(secrets, rest);
                addSecret(secrets, target.substr(p.valueBegin, p.valueEnd - p.valueBegin + rest.size()));
            } else {
                addSecret(secrets, target.substr(p.valueEnd));
                addSecret(secrets, target.substr(p.valueBegin));
            }
        }
    }
    // Each blank-separated word of a secret too: libpq's messages quote the words it could not read.
    const size_t whole = secrets.size();
    for (size_t i = 0; i < whole; ++i) {
        const std::string s = secrets[i];
        size_t b = 0;
        while (b < s.size()) {
            while (b < s.size() && isBlank(s[b]))
                ++b;
            size_t e = b;
            while (e < s.size() && !isBlank(s[e]))
                ++e;
            if (e > b && e - b < s.size()) secrets.push_back(s.substr(b, e - b));
            b = e;
        }
    }
    std::sort(secrets.begin(), secrets.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    secrets.erase(std::unique(secrets.begin(), secrets.end()), secrets.end());
    return secrets;
}

}  // namespace

bool IsServerTarget(std::string_view target) {
    target = trimmed(target);
    if (target.empty() || target == ":memory:") return false;
    return isUri(target) || isKeywordString(target) || isBareServer(target);
}

std::string ServerConnectionString(std::string_view target) {
    target = trimmed(target);
    if (isUri(target) || isKeywordString(target)) return std::string(target);
    return "host=" + std::string(withoutBrackets(target));
}

std::string ConnectionTextRefusal(std::string_view text) {
    text = trimmed(text);
    if (const std::vector<std::string> keys = semicolonKeys(text); !keys.empty()) {
        std::string named;
        for (const std::string& k : keys)
            named += (named.empty() ? "" : "、") + k;
        return "数据库写成了 ADO/ODBC 形式的连接串（用分号分隔的“键=值”：" + named +
               "），本程序不能使用，也不会把它当作文件名。数据库服务器请写 PostgreSQL 的连接设置，例如 "
               "host=服务器地址 dbname=customs user=用户名 password=密码（用空格分隔），或 "
               "postgresql://用户名@服务器地址/customs；本地数据库请写文件名，例如 DB.sqlite";
    }
    const std::string_view authority = isUri(text) ? uriAuthority(text) : std::string_view();
    if (std::count(authority.begin(), authority.end(), '@') > 1)
        return "数据库服务器地址（postgresql://…）中的“@”多于一个：用户名或密码中的 @ 必须写成 %40，例如 "
               "postgresql://用户名:密%40码@服务器地址/customs";
    return {};
}

std::string TargetRefusal(std::string_view target) {
    target = trimmed(target);
    if (std::string why = ConnectionTextRefusal(target); !why.empty()) return why;
    // A bare word that is no host name, has no file ending and names no file: a file of that name
    // would be made, which nobody meant (a server written in words, a folder's name).
    if (target.empty() || target == ":memory:" || IsServerTarget(target)) return {};
    if (target.find_first_of("/\\.") != std::string_view::npos || isExistingFile(target)) return {};
    return "“" + std::string(target) +
           "”既不是已知的数据库服务器写法，也不是数据库文件名：数据库服务器请写 host=服务器地址 "
           "dbname=customs user=用户名 或 postgresql://用户名@服务器地址/customs，只写服务器时写它的主机名或 "
           "IP "
           "地址；本地数据库请写带扩展名的文件名或路径，例如 DB.sqlite";
}

std::string HidePasswords(std::string text, std::string_view target) {
    for (const std::string& secret : passwordsIn(target)) {
        for (size_t at = text.find(secret); at != std::string::npos; at = text.find(secret, at + 6))
            text.replace(at, secret.size(), "******");
    }
    return text;
}

std::string MaskedServerSetting(std::string_view stored) {
    return HidePasswords(std::string(stored), stored);
}

std::optional<std::string> UnmaskedServerSetting(std::string_view edited, std::string_view stored) {
    constexpr std::string_view kMask = "******";
    const std::string masked = MaskedServerSetting(stored);
    if (edited == masked) return std::string(stored);
    if (edited.find(kMask) == std::string_view::npos) return std::string(edited);
    // The hidden texts, in order: the masked text is the stored one with each of them replaced.
    std::vector<std::string_view> parts;
    for (size_t from = 0;;) {
        const size_t at = masked.find(kMask, from);
        parts.push_back(std::string_view(masked).substr(from, at == std::string::npos ? at : at - from));
        if (at == std::string::npos) break;
        from = at + kMask.size();
    }
    std::vector<std::string> hidden;
    size_t pos = parts.front().size();
    for (size_t i = 1; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        const size_t next = last ? stored.size() - parts[i].size() : stored.find(parts[i], pos);
        if (next == std::string_view::npos || next < pos) return std::nullopt;
        hidden.emplace_back(stored.substr(pos, next - pos));
        pos = next + parts[i].size();
    }
    // No password stored: "******" is what was typed.
    if (hidden.empty()) return std::string(edited);
    std::sort(hidden.begin(), hidden.end());
    hidden.erase(std::unique(hidden.begin(), hidden.end()), hidden.end());
    if (hidden.size() != 1) return std::nullopt;
    std::string out(edited);
    for (size_t at = out.find(kMask); at != std::string::npos; at = out.find(kMask, at + hidden[0].size()))
        out.replace(at, kMask.size(), hidden[0]);
    return out;
}

}  // namespace ca::db
