#include "ca/util/Gbk.h"

#include <cstdio>

#include "ca/util/Utf8.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#endif

namespace ca {

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8
}

#ifdef _WIN32

namespace {
std::wstring widen(std::string_view s, UINT codePage, DWORD flags) {
    if (s.empty()) return {};
    int n = MultiByteToWideChar(codePage, flags, s.data(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, flags, s.data(), static_cast<int>(s.size()), w.data(), n);
    return w;
}
std::string narrow(const std::wstring& w, UINT codePage) {
    if (w.empty()) return {};
    int n =
        WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}
}  // namespace

std::string utf8ToGbk(std::string_view utf8) {
    return narrow(widen(utf8, CP_UTF8, 0), 936);
}
std::string gbkToUtf8(std::string_view gbk) {
    return narrow(widen(gbk, 936, 0), CP_UTF8);
}

#else

namespace {

// One converter per direction and thread, opened on first use: opening one costs more than
// converting a short field text, and entry and download convert thousands of them.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv_open ") + from);
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    iconv_t get() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        return cd_;
    }

private:
    iconv_t cd_;
};

bool isAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Converts with iconv; an input byte that cannot be converted is replaced and skipped, so a
// damaged file still yields all its readable text. ASCII is the same in both encodings.
std::string convert(std::string_view in, Converter& converter, std::string_view replacement) {
    if (isAscii(in)) return std::string(in);
    iconv_t cd = converter.get();
    std::string out;
    out.reserve(in.size() * 3 / 2 + 8);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[1024];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ (invalid or unmappable) or EINVAL (truncated at the end): skip one byte.
            out.append(replacement);
            ++src;
            --srcLeft;
            if (errno == EILSEQ) {
                // A UTF-8 character that GBK cannot hold: skip its continuation bytes as well.
                while (srcLeft > 0 && (static_cast<unsigned char>(*src) & 0xC0) == 0x80 &&
                       replacement == "?") {
                    ++src;
                    --srcLeft;
                }
            }
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

}  // namespace

std::string utf8ToGbk(std::string_view utf8) {
    thread_local Converter converter("GBK", "UTF-8");
    return convert(utf8, converter, "?");
}
std::string gbkToUtf8(std::string_view gbk) {
    thread_local Converter converter("UTF-8", "GBK");
    return convert(gbk, converter, kReplacement);
}

#endif

std::optional<char32_t> firstCharacterGbkCannotHold(std::string_view utf8) {
    for (std::size_t pos = 0; pos < utf8.size();) {
        const std::size_t start = pos;
        const char32_t cp = nextCodePoint(utf8, pos);
        if (cp < 0x80) continue;
        if (cp == 0xFFFD && utf8.substr(start, 3) != "\xEF\xBF\xBD") return cp;  // an invalid byte
        if (utf8ToGbk(utf8.substr(start, pos - start)) == "?") return cp;
    }
    return std::nullopt;
}

std::string describeCharacter(char32_t cp) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(cp));
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || cp == 0xFFFD) return code;
    std::string out = "“";
    appendUtf8(out, cp);
    return out + "”（" + code + "）";
}

}  // namespace ca
