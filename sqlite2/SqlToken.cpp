#include "sqlite2/SqlToken.h"

#include "sqlite2/Sqlite2Error.h"

#include <cctype>

namespace sqlite2::sql {

namespace {

bool IsIdStart(unsigned char c) {
    return std::isalpha(c) || c == '_' || c >= 0x80;
}
bool IsIdChar(unsigned char c) {
    return std::isalnum(c) || c == '_' || c == '$' || c >= 0x80;
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

[[noreturn]] void Unrecognized(std::string_view text) {
    throw ESqlite2Error(ErrGeneric, "unrecognized token: \"" + std::string(text) + "\"");
}

} // namespace

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::string FoldName(std::string_view name) {
    std::string out(name);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool Token::Is(std::string_view word) const {
    if (kind == TokenKind::Id) return SameName(text, word);
    if (kind == TokenKind::Op) return text == word;
    return false;
}

std::string Dequote(std::string_view text) {
    if (text.empty()) return {};
    char open = text.front();
    char close = open == '[' ? ']' : open;
    if (open != '\'' && open != '"' && open != '[' && open != '`') return std::string(text);
    std::string out;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        out += text[i];
        if (text[i] == close && close != ']' && i + 2 < text.size() && text[i + 1] == close) ++i;
    }
    return out;
}

std::vector<Token> Tokenize(std::string_view sql) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    auto push = [&](TokenKind kind, std::size_t begin, std::size_t end) {
        tokens.push_back(Token{kind, sql.substr(begin, end - begin), begin, end});
    };
    while (i < n) {
        const char c = sql[i];
        const std::size_t start = i;
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            while (i < n && sql[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            i += 2;
            while (i + 1 < n && !(sql[i] == '*' && sql[i + 1] == '/'))
                ++i;
            i = i + 1 < n ? i + 2 : n;
        } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char close = c == '[' ? ']' : c;
            ++i;
            for (;;) {
                if (i >= n) Unrecognized(sql.substr(start));
                if (sql[i] == close) {
                    if (close != ']' && i + 1 < n && sql[i + 1] == close) {
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            push(c == '\'' ? TokenKind::String : TokenKind::QuotedId, start, i);
        } else if (IsDigit(c) || (c == '.' && i + 1 < n && IsDigit(sql[i + 1]))) {
            bool isFloat = false;
            while (i < n && IsDigit(sql[i]))
                ++i;
            if (i < n && sql[i] == '.') {
                isFloat = true;
                ++i;
                while (i < n && IsDigit(sql[i]))
                    ++i;
            }
            if (i < n && (sql[i] == 'e' || sql[i] == 'E')) {
                std::size_t j = i + 1;
                if (j < n && (sql[j] == '+' || sql[j] == '-')) ++j;
                if (j < n && IsDigit(sql[j])) {
                    isFloat = true;
                    i = j;
                    while (i < n && IsDigit(sql[i]))
                        ++i;
                }
            }
            push(isFloat ? TokenKind::Float : TokenKind::Integer, start, i);
        } else if (IsIdStart(static_cast<unsigned char>(c))) {
            while (i < n && IsIdChar(static_cast<unsigned char>(sql[i])))
                ++i;
            push(TokenKind::Id, start, i);
        } else {
            static const char* const kOps[] = {"||", "<=", ">=", "<>", "!=", "==", "<<", ">>",
                                               "(",  ")",  ";",  ",",  "+",  "-",  "*",  "/",
                                               "%",  "=",  "<",  ">",  "&",  "|",  "~",  "."};
            std::size_t len = 0;
            for (const char* op : kOps) {
                const std::string_view o(op);
                if (sql.substr(i, o.size()) == o) {
                    len = o.size();
                    break;
                }
            }
            if (len == 0) Unrecognized(sql.substr(i, 1));
            i += len;
            push(TokenKind::Op, start, i);
        }
    }
    tokens.push_back(Token{TokenKind::End, sql.substr(n, 0), n, n});
    return tokens;
}

} // namespace sqlite2::sql
