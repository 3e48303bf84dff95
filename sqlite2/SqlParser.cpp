#include "sqlite2/SqlParser.h"

#include "sqlite2/Sqlite2Error.h"

#include <algorithm>
#include <cctype>
#include <initializer_list>

namespace sqlite2::sql {

namespace {

// Words that never name a column or a table when written bare.
const std::initializer_list<std::string_view> kReserved = {
    "ALL",        "AND",     "AS",     "BETWEEN",  "BY",     "CASE",      "CHECK",  "COLLATE", "CONSTRAINT",
    "CREATE",     "DEFAULT", "DELETE", "DISTINCT", "DROP",   "ELSE",      "END",    "EXCEPT",  "FOREIGN",
    "FROM",       "GROUP",   "HAVING", "IN",       "INSERT", "INTERSECT", "INTO",   "IS",      "ISNULL",
    "JOIN",       "LIMIT",   "NOT",    "NOTNULL",  "NULL",   "ON",        "OR",     "ORDER",   "PRIMARY",
    "REFERENCES", "SELECT",  "SET",    "THEN",     "UNION",  "UNIQUE",    "UPDATE", "USING",   "VALUES",
    "WHEN",       "WHERE",   "TABLE",  "LIKE",     "GLOB",   "OFFSET"};

// Words that may follow a FROM item and so are not taken as its alias.
const std::initializer_list<std::string_view> kJoinWords = {"LEFT",  "RIGHT", "FULL",    "OUTER",
                                                            "INNER", "CROSS", "NATURAL", "JOIN"};

bool InList(const Token& t, std::initializer_list<std::string_view> words) {
    if (t.kind != TokenKind::Id) return false;
    return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return t.Is(w); });
}

constexpr int kMaxDepth = 200;

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

class Parser {
public:
    explicit Parser(std::string_view sql) : sql_(sql), tokens_(Tokenize(sql)) {}

    std::vector<Statement> Statements() {
        std::vector<Statement> out;
        while (!AtEnd()) {
            if (Accept(";")) continue;
            out.push_back(OneStatement());
            if (!AtEnd()) Expect(";");
        }
        return out;
    }

    std::unique_ptr<Select> WholeSelect() {
        auto s = ParseSelectStmt();
        Accept(";");
        ExpectEnd();
        return s;
    }

    CreateTable WholeCreateTable() {
        ExpectWord("CREATE");
        CreateTable t;
        if (Peek().Is("TEMP") || Peek().Is("TEMPORARY")) {
            Next();
            t.temporary = true;
        }
        ExpectWord("TABLE");
        t.name = Name("table name");
        Expect("(");
        do {
            if (IsTableConstraintStart()) {
                TableConstraints(t);
                break;
            }
            t.columns.push_back(ColumnDefinition());
        } while (Accept(","));
        Expect(")");
        Accept(";");
        ExpectEnd();
        return t;
    }

    CreateView WholeCreateView() {
        ExpectWord("CREATE");
        if (Peek().Is("TEMP") || Peek().Is("TEMPORARY")) Next();
        ExpectWord("VIEW");
        CreateView v;
        v.name = Name("view name");
        ExpectWord("AS");
        v.select = ParseSelectStmt();
        v.source = std::string(sql_);
        Accept(";");
        ExpectEnd();
        return v;
    }

private:
    // ---- token helpers
    const Token& Peek(std::size_t ahead = 0) const {
        return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
    }
    const Token& Next() {
        const Token& t = tokens_[pos_];
        if (pos_ + 1 < tokens_.size()) ++pos_;
        return t;
    }
    bool AtEnd() const { return Peek().kind == TokenKind::End; }
    bool Accept(std::string_view word) {
        if (!Peek().Is(word)) return false;
        Next();
        return true;
    }
    [[noreturn]] void Fail() const {
        const Token& t = Peek();
        if (t.kind == TokenKind::End) throw ESqlite2Error(ErrGeneric, "incomplete SQL");
        throw ESqlite2Error(ErrGeneric, "near \"" + std::string(t.text) + "\": syntax error");
    }
    void Expect(std::string_view word) {
        if (!Accept(word)) Fail();
    }
    void ExpectWord(std::string_view word) { Expect(word); }
    void ExpectEnd() const {
        if (!AtEnd()) Fail();
    }
    std::size_t LastEnd() const { return pos_ == 0 ? 0 : tokens_[pos_ - 1].end; }

    bool IsNameToken(const Token& t) const {
        return t.kind == TokenKind::QuotedId || (t.kind == TokenKind::Id && !InList(t, kReserved));
    }
    // A table, column or alias name: bare word (not reserved), "quoted", [bracketed] or 'string'.
    std::string Name(const char*) {
        const Token& t = Peek();
        if (IsNameToken(t) || t.kind == TokenKind::String) {
            Next();
            return t.kind == TokenKind::Id ? std::string(t.text) : Dequote(t.text);
        }
        Fail();
    }

    // A node is one higher than its highest child.
    static void Raise(int& height, int childHeight) {
        height = std::max(height, childHeight + 1);
        if (height > kMaxTreeHeight)
            throw ESqlite2Error(ErrGeneric, "expression tree is too large (maximum depth " +
                                                std::to_string(kMaxTreeHeight) + ")");
    }

    static void Attach(Expr& parent, ExprPtr child) {
        Raise(parent.height, child->height);
        parent.args.push_back(std::move(child));
    }

    static void Attach(Expr& parent, std::unique_ptr<Select> select) {
        Raise(parent.height, select->height);
        parent.select = std::move(select);
    }

    static void Measure(Select& s) {
        auto raise = [&](const ExprPtr& e) {
            if (e) Raise(s.height, e->height);
        };
        for (const SelectCore& core : s.cores) {
            for (const ResultColumn& rc : core.columns)
                raise(rc.expr);
            for (const FromItem& item : core.from) {
                raise(item.on);
                if (item.subquery) Raise(s.height, item.subquery->height);
            }
            raise(core.where);
            for (const ExprPtr& g : core.groupBy)
                raise(g);
            raise(core.having);
        }
        for (const OrderTerm& t : s.orderBy)
            raise(t.expr);
    }

    struct DepthGuard {
        explicit DepthGuard(int& d) : depth(d) {
            if (++depth > kMaxDepth) throw ESqlite2Error(ErrGeneric, "parser stack overflow");
        }
        ~DepthGuard() { --depth; }
        int& depth;
    };

    // ---- statements
    Statement OneStatement() {
        if (Peek().Is("SELECT")) return ParseSelectStmt();
        const Token& t = Peek();
        if (t.kind != TokenKind::Id) Fail();
        static const std::initializer_list<std::string_view> kVerbs = {
            "INSERT", "UPDATE", "DELETE", "REPLACE", "CREATE", "DROP",     "COPY",   "VACUUM",
            "ATTACH", "DETACH", "BEGIN",  "COMMIT",  "END",    "ROLLBACK", "PRAGMA", "EXPLAIN"};
        if (!InList(t, kVerbs)) Fail();
        WriteStatement w{Upper(t.text)};
        while (!AtEnd() && !Peek().Is(";"))
            Next();
        return w;
    }

    std::unique_ptr<Select> ParseSelectStmt() {
        DepthGuard guard(depth_);
        auto s = std::make_unique<Select>();
        s->cores.push_back(Core());
        for (;;) {
            if (Accept("UNION")) {
                s->ops.push_back(Accept("ALL") ? "UNION ALL" : "UNION");
            } else if (Accept("INTERSECT")) {
                s->ops.push_back("INTERSECT");
            } else if (Accept("EXCEPT")) {
                s->ops.push_back("EXCEPT");
            } else {
                break;
            }
            s->cores.push_back(Core());
        }
        if (Accept("ORDER")) {
            Expect("BY");
            do {
                OrderTerm term;
                term.expr = ParseExpr();
                if (Accept("DESC"))
                    term.desc = true;
                else
                    Accept("ASC");
                s->orderBy.push_back(std::move(term));
            } while (Accept(","));
        }
        if (Accept("LIMIT")) {
            s->hasLimit = true;
            s->limit = SignedInteger();
            if (Accept("OFFSET")) {
                s->offset = SignedInteger();
            } else if (Accept(",")) {
                s->offset = s->limit;
                s->limit = SignedInteger();
            }
        }
        Measure(*s);
        return s;
    }

    long long SignedInteger() {
        bool negative = false;
        if (Accept("-"))
            negative = true;
        else
            Accept("+");
        const Token& t = Peek();
        if (t.kind != TokenKind::Integer) Fail();
        Next();
        long long v = 0;
        for (char c : t.text)
            v = v > 100000000000000000LL ? v : v * 10 + (c - '0');
        return negative ? -v : v;
    }

    SelectCore Core() {
        Expect("SELECT");
        SelectCore core;
        if (Accept("DISTINCT"))
            core.distinct = true;
        else
            Accept("ALL");
        do {
            core.columns.push_back(Result());
        } while (Accept(","));
        if (Accept("FROM")) From(core);
        if (Accept("WHERE")) core.where = ParseExpr();
        if (Accept("GROUP")) {
            Expect("BY");
            do {
                core.groupBy.push_back(ParseExpr());
            } while (Accept(","));
        }
        if (Accept("HAVING")) core.having = ParseExpr();
        return core;
    }

    ResultColumn Result() {
        ResultColumn r;
        r.begin = Peek().begin;
        if (Accept("*")) {
            r.star = true;
            r.end = LastEnd();
            return r;
        }
        if (IsNameToken(Peek()) && Peek(1).Is(".") && Peek(2).Is("*")) {
            r.starTable = Name("table");
            Next();
            Next();
            r.star = true;
            r.end = LastEnd();
            return r;
        }
        r.expr = ParseExpr();
        r.end = LastEnd();
        if (Accept("AS")) {
            r.alias = Name("alias");
        } else if (IsNameToken(Peek()) || Peek().kind == TokenKind::String) {
            if (!Peek().Is("FROM")) r.alias = Name("alias");
        }
        return r;
    }

    void From(SelectCore& core) {
        for (bool first = true;; first = false) {
            FromItem item;
            if (!first) {
                if (Accept(",")) {
                    item.join = ",";
                } else if (InList(Peek(), kJoinWords)) {
                    std::string words;
                    while (InList(Peek(), kJoinWords) && !Peek().Is("JOIN")) {
                        const Token& w = Next();
                        if (w.Is("NATURAL")) item.natural = true;
                        if (w.Is("LEFT")) item.left = true;
                        if (w.Is("RIGHT") || w.Is("FULL"))
                            throw ESqlite2Error(ErrGeneric,
                                                "RIGHT and FULL OUTER JOINs are not currently supported");
                    }
                    Expect("JOIN");
                    item.join = "JOIN";
                } else {
                    break;
                }
            }
            if (Accept("(")) {
                item.subquery = ParseSelectStmt();
                Expect(")");
            } else {
                item.table = Name("table name");
                if (Accept(".")) item.table = Name("table name"); // database prefix: one file only
            }
            if (Accept("AS")) {
                item.alias = Name("alias");
            } else if ((IsNameToken(Peek()) || Peek().kind == TokenKind::String) &&
                       !InList(Peek(), kJoinWords)) {
                item.alias = Name("alias");
            }
            if (Accept("ON")) {
                item.on = ParseExpr();
            } else if (Accept("USING")) {
                Expect("(");
                do {
                    item.usingColumns.push_back(Name("column"));
                } while (Accept(","));
                Expect(")");
            }
            core.from.push_back(std::move(item));
        }
    }

    // ---- expressions, lowest precedence first
    ExprPtr ParseExpr() {
        DepthGuard guard(depth_);
        return Or();
    }

    static ExprPtr MakeBinary(std::string op, ExprPtr left, ExprPtr right) {
        auto e = std::make_unique<Expr>();
        e->kind = Expr::Kind::Binary;
        e->op = std::move(op);
        e->begin = left->begin;
        e->end = right->end;
        Attach(*e, std::move(left));
        Attach(*e, std::move(right));
        return e;
    }

    ExprPtr Or() {
        ExprPtr left = And();
        while (Accept("OR"))
            left = MakeBinary("OR", std::move(left), And());
        return left;
    }

    ExprPtr And() {
        ExprPtr left = Not();
        while (Accept("AND"))
            left = MakeBinary("AND", std::move(left), Not());
        return left;
    }

    ExprPtr Not() {
        if (Peek().Is("NOT")) {
            DepthGuard guard(depth_);
            const std::size_t begin = Next().begin;
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Unary;
            e->op = "NOT";
            Attach(*e, Not());
            e->begin = begin;
            e->end = e->args[0]->end;
            return e;
        }
        return Equality();
    }

    ExprPtr Equality() {
        ExprPtr left = Relational();
        for (;;) {
            const Token& t = Peek();
            if (t.Is("=") || t.Is("==") || t.Is("!=") || t.Is("<>")) {
                Next();
                std::string op = t.Is("==") ? "=" : t.Is("<>") ? "!=" : std::string(t.text);
                left = MakeBinary(op, std::move(left), Relational());
                continue;
            }
            if (t.Is("ISNULL") || t.Is("NOTNULL")) {
                Next();
                left = Postfix(Expr::Kind::IsNull, t.Is("NOTNULL"), std::move(left));
                continue;
            }
            if (t.Is("IS")) {
                Next();
                const bool negated = Accept("NOT");
                Expect("NULL");
                left = Postfix(Expr::Kind::IsNull, negated, std::move(left));
                continue;
            }
            bool negated = false;
            if (t.Is("NOT") && (Peek(1).Is("NULL") || Peek(1).Is("LIKE") || Peek(1).Is("GLOB") ||
                                Peek(1).Is("BETWEEN") || Peek(1).Is("IN"))) {
                Next();
                negated = true;
                if (Accept("NULL")) {
                    left = Postfix(Expr::Kind::IsNull, true, std::move(left));
                    continue;
                }
            }
            const Token& w = Peek();
            if (w.Is("LIKE") || w.Is("GLOB")) {
                Next();
                auto e = Postfix(Expr::Kind::Like, negated, std::move(left));
                e->op = Upper(w.text);
                Attach(*e, Relational());
                e->end = e->args.back()->end;
                left = std::move(e);
            } else if (w.Is("BETWEEN")) {
                Next();
                auto e = Postfix(Expr::Kind::Between, negated, std::move(left));
                Attach(*e, Relational());
                Expect("AND");
                Attach(*e, Relational());
                e->end = e->args.back()->end;
                left = std::move(e);
            } else if (w.Is("IN")) {
                Next();
                Expect("(");
                auto e = Postfix(Expr::Kind::InList, negated, std::move(left));
                if (Peek().Is("SELECT")) {
                    e->kind = Expr::Kind::InSelect;
                    Attach(*e, ParseSelectStmt());
                } else if (!Peek().Is(")")) {
                    do {
                        Attach(*e, ParseExpr());
                    } while (Accept(","));
                }
                Expect(")");
                e->end = LastEnd();
                left = std::move(e);
            } else if (negated) {
                Fail();
            } else {
                return left;
            }
        }
    }

    ExprPtr Postfix(Expr::Kind kind, bool negated, ExprPtr operand) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->negated = negated;
        e->begin = operand->begin;
        Attach(*e, std::move(operand));
        e->end = LastEnd();
        return e;
    }

    ExprPtr Relational() {
        ExprPtr left = Bits();
        while (Peek().Is("<") || Peek().Is("<=") || Peek().Is(">") || Peek().Is(">=")) {
            std::string op(Next().text);
            left = MakeBinary(op, std::move(left), Bits());
        }
        return left;
    }

    ExprPtr Bits() {
        ExprPtr left = Additive();
        while (Peek().Is("&") || Peek().Is("|") || Peek().Is("<<") || Peek().Is(">>")) {
            std::string op(Next().text);
            left = MakeBinary(op, std::move(left), Additive());
        }
        return left;
    }

    ExprPtr Additive() {
        ExprPtr left = Multiplicative();
        while (Peek().Is("+") || Peek().Is("-")) {
            std::string op(Next().text);
            left = MakeBinary(op, std::move(left), Multiplicative());
        }
        return left;
    }

    ExprPtr Multiplicative() {
        ExprPtr left = Concat();
        while (Peek().Is("*") || Peek().Is("/") || Peek().Is("%")) {
            std::string op(Next().text);
            left = MakeBinary(op, std::move(left), Concat());
        }
        return left;
    }

    ExprPtr Concat() {
        ExprPtr left = Unary();
        while (Accept("||"))
            left = MakeBinary("||", std::move(left), Unary());
        return left;
    }

    ExprPtr Unary() {
        if (Peek().Is("-") || Peek().Is("+") || Peek().Is("~")) {
            DepthGuard guard(depth_);
            const Token& t = Next();
            auto e = std::make_unique<Expr>();
            e->kind = Expr::Kind::Unary;
            e->op = std::string(t.text);
            Attach(*e, Unary());
            e->begin = t.begin;
            e->end = e->args[0]->end;
            return e;
        }
        return Primary();
    }

    ExprPtr Primary() {
        const Token& t = Peek();
        auto e = std::make_unique<Expr>();
        e->begin = t.begin;
        switch (t.kind) {
        case TokenKind::Integer:
        case TokenKind::Float:
            Next();
            e->kind = t.kind == TokenKind::Integer ? Expr::Kind::Integer : Expr::Kind::Float;
            e->value = std::string(t.text);
            break;
        case TokenKind::String:
            Next();
            e->kind = Expr::Kind::String;
            e->value = Dequote(t.text);
            break;
        case TokenKind::QuotedId:
        case TokenKind::Id:
            if (t.Is("NULL")) {
                Next();
                e->kind = Expr::Kind::Null;
            } else if (t.Is("CASE")) {
                Next();
                Case(*e);
            } else if (t.kind == TokenKind::Id && Peek(1).Is("(") &&
                       (!InList(t, kReserved) || t.Is("LIKE") || t.Is("GLOB"))) {
                Next();
                Next();
                e->kind = Expr::Kind::Function;
                e->value = std::string(t.text);
                if (Accept("*")) {
                    e->star = true;
                } else if (!Peek().Is(")")) {
                    if (Accept("DISTINCT"))
                        e->distinct = true;
                    else
                        Accept("ALL");
                    do {
                        Attach(*e, ParseExpr());
                    } while (Accept(","));
                }
                Expect(")");
            } else if (IsNameToken(t)) {
                Next();
                e->kind = Expr::Kind::Column;
                e->quoted = t.kind == TokenKind::QuotedId && t.text.front() == '"';
                e->column = t.kind == TokenKind::Id ? std::string(t.text) : Dequote(t.text);
                if (Accept(".")) {
                    const Token& c = Peek();
                    e->table = e->column;
                    e->column = Name("column");
                    e->quoted = c.kind == TokenKind::QuotedId && c.text.front() == '"';
                }
            } else {
                Fail();
            }
            break;
        case TokenKind::Op:
            if (t.Is("(")) {
                Next();
                if (Peek().Is("SELECT")) {
                    e->kind = Expr::Kind::Subquery;
                    Attach(*e, ParseSelectStmt());
                    Expect(")");
                } else {
                    e = ParseExpr();
                    Expect(")");
                    e->begin = t.begin;
                }
                break;
            }
            Fail();
        case TokenKind::End:
            Fail();
        }
        e->end = LastEnd();
        return e;
    }

    void Case(Expr& e) {
        e.kind = Expr::Kind::Case;
        if (!Peek().Is("WHEN")) {
            e.hasBase = true;
            Attach(e, ParseExpr());
        }
        if (!Peek().Is("WHEN")) Fail();
        while (Accept("WHEN")) {
            Attach(e, ParseExpr());
            Expect("THEN");
            Attach(e, ParseExpr());
        }
        if (Accept("ELSE")) {
            e.hasElse = true;
            Attach(e, ParseExpr());
        }
        Expect("END");
    }

    // ---- CREATE TABLE
    bool IsTableConstraintStart() const {
        const Token& t = Peek();
        return t.Is("PRIMARY") || t.Is("UNIQUE") || t.Is("CHECK") || t.Is("FOREIGN") || t.Is("CONSTRAINT");
    }

    static bool IsConstraintWord(const Token& t) {
        return t.Is("CONSTRAINT") || t.Is("PRIMARY") || t.Is("UNIQUE") || t.Is("CHECK") || t.Is("DEFAULT") ||
               t.Is("NOT") || t.Is("NULL") || t.Is("COLLATE") || t.Is("REFERENCES");
    }

    ColumnDef ColumnDefinition() {
        ColumnDef c;
        // A column may be named by any word, reserved or not, as SQLite 2 allows in this place.
        const Token& n = Peek();
        if (n.kind == TokenKind::Id || n.kind == TokenKind::QuotedId || n.kind == TokenKind::String) {
            if (n.kind == TokenKind::Id && IsConstraintWord(n)) Fail();
            Next();
            c.name = n.kind == TokenKind::Id ? std::string(n.text) : Dequote(n.text);
        } else {
            Fail();
        }
        while ((Peek().kind == TokenKind::Id || Peek().kind == TokenKind::QuotedId) &&
               !IsConstraintWord(Peek())) {
            if (!c.type.empty()) c.type += ' ';
            const Token& w = Next();
            c.type += w.kind == TokenKind::Id ? std::string(w.text) : Dequote(w.text);
        }
        if (!c.type.empty() && Accept("(")) {
            c.type += '(';
            c.type += std::to_string(SignedInteger());
            if (Accept(",")) c.type += "," + std::to_string(SignedInteger());
            Expect(")");
            c.type += ')';
        }
        for (;;) {
            if (Accept("CONSTRAINT")) Name("constraint name");
            if (Accept("NOT")) {
                Expect("NULL");
                Conflict();
            } else if (Accept("NULL")) {
            } else if (Accept("PRIMARY")) {
                Expect("KEY");
                if (!Accept("ASC")) Accept("DESC");
                Conflict();
                c.primaryKey = true;
            } else if (Accept("UNIQUE")) {
                Conflict();
                c.unique = true;
            } else if (Accept("CHECK")) {
                Expect("(");
                ParseExpr();
                Expect(")");
                Conflict();
            } else if (Accept("DEFAULT")) {
                DefaultValue();
            } else if (Accept("COLLATE")) {
                c.collate = Upper(Name("collation"));
            } else if (Accept("REFERENCES")) {
                References();
            } else {
                break;
            }
        }
        return c;
    }

    void Conflict() {
        if (Peek().Is("ON") && Peek(1).Is("CONFLICT")) {
            Next();
            Next();
            Next();
        }
    }

    void DefaultValue() {
        if (Accept("(")) {
            ParseExpr();
            Expect(")");
            return;
        }
        if (Accept("-") || Accept("+")) {
            if (Peek().kind != TokenKind::Integer && Peek().kind != TokenKind::Float) Fail();
            Next();
            return;
        }
        const Token& t = Peek();
        if (t.kind == TokenKind::End || t.kind == TokenKind::Op) Fail();
        Next();
    }

    void References() {
        Name("table name");
        if (Accept("(")) {
            do {
                Name("column");
            } while (Accept(","));
            Expect(")");
        }
        for (;;) {
            if (Accept("ON")) {
                Next(); // DELETE, UPDATE or INSERT
                if (Accept("SET")) {
                    Next();
                } else {
                    Next();
                }
            } else if (Accept("MATCH")) {
                Next();
            } else if (Peek().Is("NOT") && Peek(1).Is("DEFERRABLE")) {
                Next();
                Next();
                Deferrable();
            } else if (Accept("DEFERRABLE")) {
                Deferrable();
            } else {
                break;
            }
        }
    }

    void Deferrable() {
        if (Accept("INITIALLY")) Next();
    }

    std::vector<std::string> IdList() {
        std::vector<std::string> ids;
        Expect("(");
        do {
            ids.push_back(Name("column"));
            if (Accept("COLLATE")) Name("collation");
            if (!Accept("ASC")) Accept("DESC");
        } while (Accept(","));
        Expect(")");
        return ids;
    }

    void TableConstraints(CreateTable& t) {
        for (;;) {
            if (Accept("CONSTRAINT")) Name("constraint name");
            if (Accept("PRIMARY")) {
                Expect("KEY");
                t.tablePrimaryKey = IdList();
                Conflict();
            } else if (Accept("UNIQUE")) {
                IdList();
                Conflict();
                t.tableUnique = true;
            } else if (Accept("CHECK")) {
                Expect("(");
                ParseExpr();
                Expect(")");
                Conflict();
            } else if (Accept("FOREIGN")) {
                Expect("KEY");
                IdList();
                Expect("REFERENCES");
                References();
            } else {
                Fail();
            }
            if (!Accept(",") && !IsTableConstraintStart()) break;
        }
    }

    std::string_view sql_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

} // namespace

std::vector<Statement> ParseStatements(std::string_view sql) {
    return Parser(sql).Statements();
}
std::unique_ptr<Select> ParseSelect(std::string_view sql) {
    return Parser(sql).WholeSelect();
}
CreateTable ParseCreateTable(std::string_view sql) {
    return Parser(sql).WholeCreateTable();
}
CreateView ParseCreateView(std::string_view sql) {
    return Parser(sql).WholeCreateView();
}

} // namespace sqlite2::sql
