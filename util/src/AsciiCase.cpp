#include "ca/util/AsciiCase.h"

#include <algorithm>

namespace ca {

std::string toLowerAscii(std::string_view text) {
    std::string r(text);
    for (char& c : r)
        c = toLowerAscii(c);
    return r;
}

std::string toUpperAscii(std::string_view text) {
    std::string r(text);
    for (char& c : r)
        c = toUpperAscii(c);
    return r;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return toLowerAscii(x) == toLowerAscii(y);
           });
}

}  // namespace ca
