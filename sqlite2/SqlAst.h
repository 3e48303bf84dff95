// Parsed statements of the SQLite 2 dialect: the SELECT forms the client and the tools send, and the
// CREATE TABLE / CREATE VIEW texts kept in a database's schema.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace sqlite2::sql {

struct Select;

// Longest path from a node down through its expressions and subqueries. The parser refuses a deeper
// tree, so nothing that recurses over a parsed statement (compiling, freeing) can exhaust the stack.
// SQLite 3 takes no more than about 100 levels of the compiled text anyway.
inline constexpr int kMaxTreeHeight = 250;

struct Expr {
    enum class Kind {
        Null,
        Integer,
        Float,
        String,
        Column,   // [table.]column
        Unary,    // op: "-", "+", "~", "NOT"
        Binary,   // op: comparison, arithmetic, "||", bit operators, "AND", "OR"
        IsNull,   // negated: NOT NULL
        Like,     // op: "LIKE" or "GLOB"; negated
        Between,  // args: value, low, high; negated
        InList,   // args: value, items...; negated
        InSelect, // args: value; select; negated
        Function, // value: name as written; args; star for count(*)
        Case,     // args: [base] when, then, ..., [else]; hasBase, hasElse
        Subquery, // scalar subquery
    };
    Kind kind = Kind::Null;
    std::string op;
    std::string value; // literal text as written (strings dequoted), function name
    std::string table;
    std::string column;
    bool quoted = false; // a "double-quoted" name: a string when no column has that name
    bool negated = false;
    bool star = false;
    bool distinct = false;
    bool hasBase = false;
    bool hasElse = false;
    std::vector<std::unique_ptr<Expr>> args;
    std::unique_ptr<Select> select;
    std::size_t begin = 0; // span in the SQL text, for the names of result columns
    std::size_t end = 0;
    int height = 1;
};

using ExprPtr = std::unique_ptr<Expr>;

struct ResultColumn {
    ExprPtr expr;          // null for * and table.*
    std::string alias;     // empty when none
    std::string starTable; // for table.*
    bool star = false;
    std::size_t begin = 0;
    std::size_t end = 0;
};

struct FromItem {
    std::string table; // a table or view name, or empty for a subquery
    std::string alias;
    std::unique_ptr<Select> subquery;
    std::string join; // how it joins the item before: "" (first), ",", "JOIN", "LEFT", "NATURAL", ...
    bool natural = false;
    bool left = false;
    ExprPtr on;
    std::vector<std::string> usingColumns;
};

struct SelectCore {
    bool distinct = false;
    std::vector<ResultColumn> columns;
    std::vector<FromItem> from;
    ExprPtr where;
    std::vector<ExprPtr> groupBy;
    ExprPtr having;
};

struct OrderTerm {
    ExprPtr expr;
    bool desc = false;
};

struct Select {
    std::vector<SelectCore> cores; // joined by ops: "UNION", "UNION ALL", "INTERSECT", "EXCEPT"
    std::vector<std::string> ops;
    std::vector<OrderTerm> orderBy;
    bool hasLimit = false;
    long long limit = -1;
    long long offset = 0;
    int height = 1;
};

struct ColumnDef {
    std::string name;
    std::string type; // declared type as written, words joined by one blank; empty when none
    bool primaryKey = false;
    bool unique = false;
    std::string collate; // COLLATE TEXT / NUMERIC, upper case; empty when none
};

struct CreateTable {
    std::string name;
    bool temporary = false;
    std::vector<ColumnDef> columns;
    std::vector<std::string> tablePrimaryKey; // columns of a PRIMARY KEY table constraint
    bool tableUnique = false;
};

struct CreateView {
    std::string name;
    std::unique_ptr<Select> select;
    std::string source; // the whole CREATE VIEW text: the select's spans point into it
};

} // namespace sqlite2::sql
