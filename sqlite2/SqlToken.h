// Tokens of the SQL dialect of SQLite 2: identifiers (bare, "quoted" or [bracketed]), 'strings',
// numbers and operators. Keywords are bare identifiers; the parser decides where they are reserved.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sqlite2::sql {

enum class TokenKind { Id, QuotedId, String, Integer, Float, Op, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string_view text; // the token as written (quotes included)
    std::size_t begin = 0; // offset in the SQL text
    std::size_t end = 0;

    bool Is(std::string_view keywordOrOp) const; // keyword: any letter case; operators: exactly
};

// Splits the whole text into tokens followed by one End token. Throws ESqlite2Error with SQLite 2's
// text `unrecognized token: "X"` for a character or an unterminated quote it cannot read.
std::vector<Token> Tokenize(std::string_view sql);

// The value of a quoted token: quotes removed, doubled quotes made single.
std::string Dequote(std::string_view text);
bool SameName(std::string_view a, std::string_view b); // ASCII letters compared without case
std::string FoldName(std::string_view name);           // equal for names SameName calls the same

} // namespace sqlite2::sql
