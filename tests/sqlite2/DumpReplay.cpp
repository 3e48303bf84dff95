#include "DumpReplay.h"

#include "sqlite2/SqlToken.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace sqlite2_test {

using sqlite2::sql::Token;
using sqlite2::sql::TokenKind;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ReplayDump(const std::string& dump, sqlite2::Sqlite2Writer& writer) {
    const std::vector<Token> tokens = sqlite2::sql::Tokenize(dump);
    std::string kept;
    std::size_t i = 0;
    while (tokens[i].kind != TokenKind::End) {
        const std::size_t first = i;
        while (tokens[i].kind != TokenKind::End && !tokens[i].Is(";"))
            ++i;
        const std::size_t last = i; // the ';'
        if (tokens[i].kind != TokenKind::End) ++i;
        const std::string text = dump.substr(tokens[first].begin, tokens[last - 1].end - tokens[first].begin);
        bool keep = true;
        if (tokens[first].Is("CREATE") && tokens[first + 1].Is("TABLE")) {
            writer.CreateTable(text);
        } else if (tokens[first].Is("INSERT")) {
            const std::string table = sqlite2::sql::Dequote(tokens[first + 2].text);
            sqlite2::Row row;
            for (std::size_t k = first + 5; k < last - 1; ++k) {
                const Token& t = tokens[k];
                if (t.Is(",")) continue;
                if (t.Is("NULL")) {
                    row.emplace_back();
                } else if (t.Is("-") || t.Is("+")) {
                    row.emplace_back(std::string(t.text) + std::string(tokens[++k].text));
                } else if (t.kind == TokenKind::String) {
                    row.emplace_back(sqlite2::sql::Dequote(t.text));
                } else {
                    row.emplace_back(std::string(t.text));
                }
            }
            writer.Insert(table, row);
        } else if (!tokens[first].Is("BEGIN") && !tokens[first].Is("COMMIT")) {
            keep = false;
        }
        if (keep) kept += text + ";\n";
    }
    return kept;
}

} // namespace sqlite2_test
