#include "SqliteFunctions.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "ca/util/AsciiCase.h"
#include "ca/util/Convert.h"
#include "ca/util/LocalTime.h"

namespace ca::db {

namespace {

std::string_view textOf(sqlite3_value* v) {
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return p ? std::string_view(p, static_cast<size_t>(sqlite3_value_bytes(v))) : std::string_view();
}

void resultText(sqlite3_context* ctx, const std::string& s) {
    sqlite3_result_text(ctx, s.data(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
}

// Byte offset of the character `chars` characters into UTF-8 text (or the end).
size_t utf8Advance(std::string_view s, size_t from, long long chars) {
    size_t i = from;
    while (chars > 0 && i < s.size()) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80)
            ++i;
        --chars;
    }
    return i;
}

// mid(text, start[, length]): characters from the 1-based position start, as many as length.
void midFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    for (int k = 0; k < argc; ++k)
        if (sqlite3_value_type(argv[k]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const long long start = sqlite3_value_int64(argv[1]);
    const long long length = argc > 2 ? sqlite3_value_int64(argv[2]) : -1;
    if (start < 1 || (argc > 2 && length < 0))
        return sqlite3_result_error(ctx, "无效的过程调用：mid 的起始位置小于 1，或长度为负数", -1);
    std::string_view s = textOf(argv[0]);
    size_t b = utf8Advance(s, 0, start - 1);
    size_t e = argc > 2 ? utf8Advance(s, b, length) : s.size();
    sqlite3_result_text(ctx, s.data() + b, static_cast<int>(e - b), SQLITE_TRANSIENT);
}

struct DateTime {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    bool hasTime = false;
};

// Up to `maxDigits` digits at text[i], advancing i; -1 when there is none.
int digitsAt(std::string_view text, size_t& i, size_t maxDigits) {
    size_t start = i;
    int v = 0;
    while (i < text.size() && i - start < maxDigits && text[i] >= '0' && text[i] <= '9')
        v = v * 10 + (text[i++] - '0');
    return i == start ? -1 : v;
}

// "HH:MM" or "HH:MM:SS".
bool parseTime(std::string_view text, DateTime& t) {
    size_t i = 0;
    int h = digitsAt(text, i, 2);
    if (h < 0 || i >= text.size() || text[i++] != ':') return false;
    int mi = digitsAt(text, i, 2), s = 0;
    if (mi < 0) return false;
    if (i < text.size()) {
        if (text[i++] != ':' || (s = digitsAt(text, i, 2)) < 0) return false;
    }
    if (i != text.size() || h > 23 || mi > 59 || s > 59) return false;
    t.h = h, t.mi = mi, t.s = s;
    t.hasTime = h || mi || s;
    return true;
}

// "YYYY-MM-DD", "YYYY/M/D", optionally followed by " HH:MM[:SS]" (or "T" instead of the blank).
std::optional<DateTime> parseDateTime(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && text[b] == ' ')
        ++b;
    while (e > b && text[e - 1] == ' ')
        --e;
    text = text.substr(b, e - b);
    size_t split = text.find_first_of(" T");
    auto date = parseDate(text.substr(0, split));
    if (!date) return std::nullopt;
    DateTime r{date->year, date->month, date->day};
    if (split != std::string_view::npos) {
        std::string_view time = text.substr(split + 1);
        while (!time.empty() && time.front() == ' ')
            time.remove_prefix(1);
        if (!parseTime(time, r)) return std::nullopt;
    }
    return r;
}

void appendDigits(std::string& out, int v, int width) {
    char buf[12];
    int n = 0;
    unsigned u = static_cast<unsigned>(v < 0 ? -v : v);
    do {
        buf[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u);
    while (n < width)
        buf[n++] = '0';
    while (n)
        out += buf[--n];
}

std::string canonical(const DateTime& t) {
    std::string r;
    r.reserve(19);
    appendDigits(r, t.y, 4);
    r += '-';
    appendDigits(r, t.mo, 2);
    r += '-';
    appendDigits(r, t.d, 2);
    if (t.hasTime) {
        r += ' ';
        appendDigits(r, t.h, 2);
        r += ':';
        appendDigits(r, t.mi, 2);
        r += ':';
        appendDigits(r, t.s, 2);
    }
    return r;
}

// format(value, pattern) for date patterns: yyyy yy m mm d dd h hh n nn s ss, where m/mm right
// after h/hh means minutes (as VBA reads it); other characters are copied, "..." and \x literally.
// A value that is not a date comes back as its text.
void formatFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    std::string_view value = textOf(argv[0]);
    auto t = parseDateTime(value);
    if (!t || sqlite3_value_type(argv[1]) == SQLITE_NULL) return resultText(ctx, std::string(value));
    std::string_view p = textOf(argv[1]);
    std::string out;
    bool afterHour = false;
    out.reserve(p.size() + 4);
    auto two = [&](int v) { appendDigits(out, v, 2); };
    auto one = [&](int v) { appendDigits(out, v, 1); };
    for (size_t i = 0; i < p.size();) {
        const char c = toLowerAscii(p[i]);
        size_t run = 1;
        while (i + run < p.size() && toLowerAscii(p[i + run]) == c)
            ++run;
        if (c == 'y') {
            run >= 3 ? appendDigits(out, t->y, 4) : two(t->y % 100);
            afterHour = false;
        } else if (c == 'm') {
            int v = afterHour ? t->mi : t->mo;
            run >= 2 ? two(v) : one(v);
            afterHour = false;
        } else if (c == 'd') {
            run >= 2 ? two(t->d) : one(t->d);
            afterHour = false;
        } else if (c == 'h') {
            run >= 2 ? two(t->h) : one(t->h);
            afterHour = true;
        } else if (c == 'n') {
            run >= 2 ? two(t->mi) : one(t->mi);
            afterHour = false;
        } else if (c == 's') {
            run >= 2 ? two(t->s) : one(t->s);
            afterHour = false;
        } else if (c == '"') {
            size_t close = p.find('"', i + 1);
            if (close == std::string_view::npos) close = p.size();
            out += p.substr(i + 1, close - i - 1);
            i = close + 1;
            continue;
        } else if (c == '\\' && i + 1 < p.size()) {
            out += p[i + 1];
            i += 2;
            continue;
        } else {
            out.append(p.substr(i, run));
        }
        i += run;
    }
    resultText(ctx, out);
}

std::string describe(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_TEXT: {
            std::string r = "“";  // built step by step: GCC 12 misreports "x" + std::string at -O3
            r += textOf(v);
            r += "”";
            return r;
        }
        case SQLITE_BLOB:
            return "二进制数据";
        default:
            return std::string(textOf(v));
    }
}

void mismatch(sqlite3_context* ctx, sqlite3_value* v, std::string_view column, std::string_view kind) {
    std::string msg = "数据类型不匹配：字段“" + std::string(column) + "”（" + std::string(kind) +
                      "）不能接受 " + describe(v);
    sqlite3_result_error(ctx, msg.c_str(), static_cast<int>(msg.size()));
}

std::optional<double> numberOf(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return sqlite3_value_double(v);
        case SQLITE_TEXT:
            return parseFloat(textOf(v));
        default:
            return std::nullopt;
    }
}

bool integral(double d) {
    return std::floor(d) == d && std::fabs(d) < 9.0e15;
}

// ca_cv(value, kind, column): the value as the column's kind takes it, or an error naming the
// column. Kinds: 'i' integer, 'd' decimal, 't' date. Null stays Null.
void convertFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    sqlite3_value* v = argv[0];
    const int type = sqlite3_value_type(v);
    if (type == SQLITE_NULL) return sqlite3_result_null(ctx);
    const std::string_view kind = textOf(argv[1]);
    const std::string_view column = textOf(argv[2]);
    if (kind == "i") {
        if (type == SQLITE_INTEGER) return sqlite3_result_value(ctx, v);
        auto d = numberOf(v);
        if (!d || !integral(*d)) return mismatch(ctx, v, column, "整数");
        return sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(*d));
    }
    if (kind == "d") {
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) return sqlite3_result_value(ctx, v);
        auto d = numberOf(v);
        if (!d) return mismatch(ctx, v, column, "小数");
        if (integral(*d)) return sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(*d));
        return sqlite3_result_double(ctx, *d);
    }
    if (type != SQLITE_TEXT) return mismatch(ctx, v, column, "日期");
    auto t = parseDateTime(textOf(v));
    if (!t) return mismatch(ctx, v, column, "日期");
    resultText(ctx, canonical(*t));
}

void nzFn(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) != SQLITE_NULL) return sqlite3_result_value(ctx, argv[0]);
    if (argc > 1) return sqlite3_result_value(ctx, argv[1]);
    sqlite3_result_int(ctx, 0);
}

void lenFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    std::string_view s = textOf(argv[0]);
    long long n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80) ++n;
    sqlite3_result_int64(ctx, n);
}

void caseFn(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) return sqlite3_result_null(ctx);
    const bool upper = sqlite3_user_data(ctx) != nullptr;
    resultText(ctx, upper ? toUpperAscii(textOf(argv[0])) : toLowerAscii(textOf(argv[0])));
}

void nowFn(sqlite3_context* ctx, int, sqlite3_value**) {
    resultText(ctx, localNowText());
}

}  // namespace

void registerSqliteFunctions(sqlite3* db) {
    const int pure = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    static int upperTag = 1;
    sqlite3_create_function(db, "mid", 2, pure, nullptr, midFn, nullptr, nullptr);
    sqlite3_create_function(db, "mid", 3, pure, nullptr, midFn, nullptr, nullptr);
    sqlite3_create_function(db, "format", 2, pure, nullptr, formatFn, nullptr, nullptr);
    sqlite3_create_function(db, "ca_cv", 3, pure, nullptr, convertFn, nullptr, nullptr);
    sqlite3_create_function(db, "nz", 1, pure, nullptr, nzFn, nullptr, nullptr);
    sqlite3_create_function(db, "nz", 2, pure, nullptr, nzFn, nullptr, nullptr);
    sqlite3_create_function(db, "len", 1, pure, nullptr, lenFn, nullptr, nullptr);
    sqlite3_create_function(db, "ucase", 1, pure, &upperTag, caseFn, nullptr, nullptr);
    sqlite3_create_function(db, "lcase", 1, pure, nullptr, caseFn, nullptr, nullptr);
    sqlite3_create_function(db, "now", 0, SQLITE_UTF8, nullptr, nowFn, nullptr, nullptr);
}

}  // namespace ca::db
