#pragma once
// Splits statement text of the Jet dialect into tokens. String literals come out whole (with their
// quotes), so nothing inside them is ever looked at by the translation.
#include <string>
#include <string_view>
#include <vector>

#include "ca/util/AsciiCase.h"

namespace ca::db {

enum class TokenKind {
    Word,        // name or keyword: letters, digits, _, $ and any non-ASCII character
    QuotedName,  // [name], `name` or "name" used as a name; text holds the bare name
    Number,
    String,  // 'text' or "text"; text holds the value with quotes removed and undoubled
    Date,    // #...#; text holds what is between the signs
    Param,   // :Name or ?; text holds the name without the colon
    Punct,   // operators and punctuation, <=, >=, <>, != and || as one token
};

struct Token {
    TokenKind kind;
    std::string text;
    bool spaceBefore = false;  // whitespace preceded the token in the source

    bool is(std::string_view word) const;  // a Word or Punct equal to word, ignoring letter case
};

// Throws DbError for an unterminated literal or name.
std::vector<Token> tokenizeJet(std::string_view sql);

}  // namespace ca::db
