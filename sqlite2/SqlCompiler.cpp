#include "sqlite2/SqlCompiler.h"

#include "sqlite2/Sq2Values.h"
#include "sqlite2/SqlToken.h"
#include "sqlite2/Sqlite2Error.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <map>

namespace sqlite2 {

namespace {

using sql::Expr;
using Kind = sql::Expr::Kind;

[[noreturn]] void Fail(const std::string& message) {
    throw ESqlite2Error(ErrGeneric, message);
}

// Budgets that keep a hostile statement or schema (views that expand each other many times over) from
// holding the caller: views nest at most kMaxViewDepth deep, the compile recursion (expressions,
// subqueries and views together) goes at most kMaxTreeHeight deep, and each of the two passes over a
// statement takes at most kMaxCompileWork steps. A step is an expression compiled, a column made or
// searched, or kSqlBytesPerStep bytes of SQLite 3 text made, so the text stays within a few MiB. The
// client's own statements take under a thousand steps.
constexpr int kMaxViewDepth = 16;
constexpr std::size_t kMaxCompileWork = 200000;
constexpr std::size_t kSqlBytesPerStep = 16;

std::string Quote(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out + "'";
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The name SQLite 2 gives an expression column: its text with blanks trimmed and runs squeezed.
std::string Squeeze(std::string_view text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (std::isspace(static_cast<unsigned char>(c))) {
            blank = !out.empty();
            continue;
        }
        if (blank) out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

// One compiled expression. `sql` is its raw form: the SQLite 3 value it yields prints as the text
// SQLite 2 would hand out. The flags say which other forms it already is:
//   number form: NULL, an integer or real, or a text that is not a number - SQLite 3's own order of
//   these is SQLite 2's numeric comparison;
//   text form: NULL or a text - SQLite 3 compares it byte by byte, as SQLite 2 compares texts.
struct Val {
    std::string sql;
    bool text = false; // SQLite 2's type of the expression
    bool numForm = false;
    bool textForm = false;
    bool boolean = false;    // 0, 1 or NULL
    bool integer = false;    // an integer value in SQLite 2's arithmetic (literals, integer results)
    bool literal = false;    // a number or string written in the statement
    std::string literalText; // its value as SQLite 2 keeps it
};

Val NullVal() {
    Val v;
    v.sql = "NULL";
    v.numForm = v.textForm = true;
    return v;
}

Val NumberLiteral(const std::string& text, bool integerToken) {
    Val v;
    v.literal = true;
    v.literalText = text;
    std::int64_t i = 0;
    double d = 0;
    if (CanonicalInteger(text, i)) {
        v.sql = text;
        v.numForm = true;
    } else if (CanonicalReal(text, d) && text.find_first_of(".eE") != std::string::npos) {
        v.sql = text;
        v.numForm = true;
    } else {
        v.sql = Quote(text); // kept as written, e.g. 01 or 1.50
        v.textForm = true;
    }
    if (integerToken && LooksLikeNumber(text)) {
        const double value = NumberValue(text);
        v.integer = value >= INT_MIN && value <= INT_MAX;
    }
    return v;
}

Val StringLiteral(const std::string& text) {
    Val v;
    v.sql = Quote(text);
    v.text = v.textForm = v.literal = true;
    v.literalText = text;
    return v;
}

std::string RealLiteral(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    std::string s = buf;
    if (s.find_first_of(".eEn") == std::string::npos) s += ".0";
    return s;
}

std::string AsNum(const Val& v) {
    if (v.numForm) return v.sql;
    if (v.literal) {
        if (!LooksLikeNumber(v.literalText)) return Quote(v.literalText);
        std::int64_t i = 0;
        if (CanonicalInteger(v.literalText, i)) return v.literalText;
        return RealLiteral(NumberValue(v.literalText));
    }
    return "sq2_num(" + v.sql + ")";
}

std::string AsText(const Val& v) {
    if (v.textForm) return v.sql;
    if (v.literal) return Quote(v.literalText);
    return "sq2_text(" + v.sql + ")";
}

std::string AsBool(const Val& v) {
    return v.boolean ? v.sql : "sq2_bool(" + v.sql + ")";
}

Val Computed(std::string sql, bool text, bool numForm, bool textForm) {
    Val v;
    v.sql = std::move(sql);
    v.text = text;
    v.numForm = numForm;
    v.textForm = textForm;
    return v;
}

Val Boolean(std::string sql) {
    Val v = Computed(std::move(sql), false, true, false);
    v.boolean = v.integer = true;
    return v;
}

// A bare literal in GROUP BY or ORDER BY would mean a column number to SQLite 3.
std::string NotAPosition(const std::string& sql) {
    const bool bare = !sql.empty() && (std::isdigit(static_cast<unsigned char>(sql[0])) || sql[0] == '\'' ||
                                       sql[0] == '-' || sql[0] == '.');
    return bare ? "sq2_same(" + sql + ")" : sql;
}

struct Col {
    std::string name;
    std::string sql;
    bool text = false;
    bool numForm = false;
    bool textForm = false;
    const TableInfo* table = nullptr; // for a column of a stored table: which one, and which column
    std::size_t index = 0;
    bool rowid = false; // holds the row's rowid
};

// The columns of each stored table a statement reads.
using ColumnUse = std::map<const TableInfo*, std::vector<bool>>;

// Stands in for the real tables while the columns a statement reads are collected.
class UseCollector : public TableProvider {
public:
    const ImportedTable& Import(const TableInfo& table, const std::vector<bool>&) override {
        ImportedTable& t = seen_[&table];
        t.name = "t";
        t.present.assign(table.columns.size(), true);
        t.plain.assign(table.columns.size(), true);
        return t;
    }

private:
    std::map<const TableInfo*, ImportedTable> seen_;
};

struct Source {
    std::string name; // how the statement qualifies its columns
    std::string alias;
    std::vector<Col> cols;
    bool hasRowid = false;
};

struct Scope {
    std::vector<Source> sources;
    const Scope* outer = nullptr;
};

struct Ctx {
    const Scope* scope = nullptr;
    bool aggregateQuery = false; // columns outside aggregates: first row of the group, or NULL
    bool grouped = false;
    bool singleRowGroups = false; // grouped by the rowid: every group is one row
    bool allowAggregates = false;
    bool insideAggregate = false;
    std::string scanKey;
};

struct Result {
    std::string sql;
    std::vector<std::string> names;
    std::vector<Val> cols; // as seen from outside: r0, r1, ... of the emitted select
};

bool IsAggregateName(const std::string& lower, std::size_t args, bool star) {
    if (lower == "count") return args <= 1 || star;
    if (lower == "min" || lower == "max") return args == 1;
    return lower == "sum" || lower == "avg";
}

bool HasAggregate(const Expr* e) {
    if (!e) return false;
    if (e->kind == Kind::Function && IsAggregateName(Lower(e->value), e->args.size(), e->star)) return true;
    for (const auto& a : e->args)
        if (HasAggregate(a.get())) return true;
    return false; // subqueries are their own queries
}

class Compiler {
public:
    Compiler(const Schema& schema, TableProvider& tables, ColumnUse& use, bool collecting)
        : schema_(schema), tables_(tables), use_(use), collecting_(collecting) {}

    Result CompileSelect(const sql::Select& s, std::string_view text, const Scope* outer) {
        const Nesting nesting(*this);
        Charge(s.cores.size());
        if (s.cores.size() == 1) return CompileCore(s.cores[0], text, outer, &s);
        std::vector<Result> parts;
        for (const sql::SelectCore& core : s.cores)
            parts.push_back(CompileCore(core, text, outer, nullptr));
        Result r;
        r.names = parts[0].names;
        r.cols = parts[0].cols;
        std::string body = parts[0].sql;
        for (std::size_t i = 1; i < parts.size(); ++i) {
            if (parts[i].cols.size() != r.cols.size())
                Fail("SELECTs to the left and right of " + s.ops[i - 1] +
                     " do not have the same number of result columns");
            for (std::size_t c = 0; c < r.cols.size(); ++c) {
                r.cols[c].numForm = r.cols[c].numForm && parts[i].cols[c].numForm;
                r.cols[c].textForm = r.cols[c].textForm && parts[i].cols[c].textForm;
            }
            body += " " + s.ops[i - 1] + " " + parts[i].sql;
            ChargeText(body);
        }
        if (s.orderBy.empty() && !s.hasLimit) {
            r.sql = body;
            return r;
        }
        const std::string alias = NewAlias();
        std::string sql = "SELECT * FROM (" + body + ") AS " + alias;
        std::vector<Val> seen;
        for (std::size_t c = 0; c < r.cols.size(); ++c) {
            Val v = r.cols[c];
            v.sql = alias + ".r" + std::to_string(c);
            seen.push_back(v);
        }
        if (!s.orderBy.empty()) {
            std::string terms;
            for (const sql::OrderTerm& t : s.orderBy) {
                const Val* v = OrderByColumn(*t.expr, r.names, seen);
                if (!v) Fail("ORDER BY term does not match any column in the result set");
                terms += (terms.empty() ? "" : ", ") + SortKey(*v) + (t.desc ? " DESC" : "");
            }
            sql += " ORDER BY " + terms;
        }
        sql += Limit(s);
        r.sql = sql;
        return r;
    }

private:
    std::string NewAlias() { return "s" + std::to_string(aliases_++); }

    void Charge(std::size_t steps) {
        work_ += steps;
        if (work_ > kMaxCompileWork)
            throw ESqlite2Error(ErrInterrupt, "statement too complex: compiling it takes more than " +
                                                  std::to_string(kMaxCompileWork) + " steps");
    }

    void ChargeText(const std::string& sql) { Charge(sql.size() / kSqlBytesPerStep); }

    // One level of the compile recursion.
    class Nesting {
    public:
        explicit Nesting(Compiler& c) : depth_(c.depth_) {
            if (++depth_ > sql::kMaxTreeHeight)
                Fail("statement nested too deeply (maximum depth " + std::to_string(sql::kMaxTreeHeight) +
                     ")");
        }
        ~Nesting() { --depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        int& depth_;
    };

    static std::string Limit(const sql::Select& s) {
        if (!s.hasLimit) return {};
        return " LIMIT " + std::to_string(s.limit) + " OFFSET " + std::to_string(s.offset);
    }

    static std::string SortKey(const Val& v) { return NotAPosition(v.text ? AsText(v) : AsNum(v)); }

    // An ORDER BY term that names a result column by number or by name; null when it is an expression.
    const Val* OrderByColumn(const Expr& e, const std::vector<std::string>& names,
                             const std::vector<Val>& cols) {
        if (e.kind == Kind::Integer) {
            const long long k = std::atoll(e.value.c_str());
            if (k < 1 || k > static_cast<long long>(cols.size()))
                Fail("ORDER BY column number " + e.value + " out of range - should be between 1 and " +
                     std::to_string(cols.size()));
            return &cols[static_cast<std::size_t>(k - 1)];
        }
        if (e.kind == Kind::Column && e.table.empty()) {
            Charge(names.size());
            for (std::size_t i = 0; i < names.size(); ++i)
                if (sql::SameName(names[i], e.column)) return &cols[i];
        }
        return nullptr;
    }

    // ---- FROM
    void AddSource(const sql::FromItem& item, Scope& scope, std::string& from, const Scope* outer) {
        Source src;
        src.alias = NewAlias();
        std::string fromSql;
        if (item.subquery) {
            Result sub = CompileSelect(*item.subquery, text_, outer);
            SourceFromResult(src, sub);
            src.name = item.alias;
            fromSql = "(" + sub.sql + ") AS " + src.alias;
        } else if (const TableInfo* table = schema_.FindTable(item.table)) {
            if (!table->error.empty()) throw ESqlite2Error(ErrCorrupt, table->error);
            Charge(table->columns.size());
            std::vector<bool>& use = use_[table];
            use.resize(table->columns.size(), false);
            const ImportedTable& imported = tables_.Import(*table, use);
            src.name = item.alias.empty() ? table->name : item.alias;
            src.hasRowid = true;
            for (std::size_t i = 0; i < table->columns.size(); ++i) {
                Col c;
                c.name = table->columns[i].name;
                c.sql = src.alias + ".c" + std::to_string(i);
                c.text = table->columns[i].textTyped;
                c.textForm = c.text;
                c.numForm = !c.text && imported.plain[i];
                c.table = table;
                c.index = i;
                c.rowid = static_cast<int>(i) == table->integerPrimaryKey;
                src.cols.push_back(c);
            }
            fromSql = imported.name + " AS " + src.alias;
        } else if (const ViewInfo* view = schema_.FindView(item.table)) {
            if (!view->error.empty()) throw ESqlite2Error(ErrCorrupt, view->error);
            if (++viewDepth_ > kMaxViewDepth) Fail("view " + view->name + " is nested too deeply");
            const std::string_view saved = text_;
            text_ = view->view->source;
            Result sub = CompileSelect(*view->view->select, text_, nullptr);
            text_ = saved;
            --viewDepth_;
            SourceFromResult(src, sub);
            src.name = item.alias.empty() ? view->name : item.alias;
            fromSql = "(" + sub.sql + ") AS " + src.alias;
        } else {
            Fail("no such table: " + item.table);
        }

        std::string on;
        if (item.on) {
            scope.sources.push_back(src);
            on = AsBool(Compile(*item.on, PlainCtx(scope)));
            scope.sources.pop_back();
        }
        std::vector<std::string> joinColumns = item.usingColumns;
        if (item.natural)
            for (const Col& c : src.cols)
                for (const Source& s : scope.sources)
                    if (FindIn(s, c.name)) joinColumns.push_back(c.name);
        for (const std::string& name : joinColumns) {
            const Col* right = FindIn(src, name);
            const Col* left = nullptr;
            for (const Source& s : scope.sources)
                if (!left) left = FindIn(s, name);
            if (!left || !right)
                Fail("cannot join using column " + name + " - column not present in both tables");
            const std::string eq = Compare("=", ColVal(*left), ColVal(*right));
            on = on.empty() ? eq : "(" + on + " AND " + eq + ")";
        }
        if (scope.sources.empty())
            from = fromSql;
        else if (on.empty() && !item.left)
            from += ", " + fromSql;
        else
            from += std::string(item.left ? " LEFT JOIN " : " JOIN ") + fromSql + " ON " +
                    (on.empty() ? "1" : on);
        ChargeText(fromSql);
        scope.sources.push_back(std::move(src));
    }

    void SourceFromResult(Source& src, const Result& sub) {
        Charge(sub.cols.size());
        for (std::size_t i = 0; i < sub.cols.size(); ++i) {
            Col c;
            c.name = sub.names[i];
            c.sql = src.alias + ".r" + std::to_string(i);
            c.text = sub.cols[i].text;
            c.numForm = sub.cols[i].numForm;
            c.textForm = sub.cols[i].textForm;
            src.cols.push_back(c);
        }
    }

    const Col* FindIn(const Source& s, const std::string& name) {
        Charge(s.cols.size());
        for (const Col& c : s.cols)
            if (sql::SameName(c.name, name)) return &c;
        return nullptr;
    }

    Val ColVal(const Col& c) {
        if (c.table && collecting_) use_[c.table][c.index] = true;
        return Computed(c.sql, c.text, c.numForm, c.textForm);
    }

    static Ctx PlainCtx(const Scope& scope) {
        Ctx ctx;
        ctx.scope = &scope;
        return ctx;
    }

    // ---- one SELECT core
    Result CompileCore(const sql::SelectCore& core, std::string_view text, const Scope* outer,
                       const sql::Select* whole) {
        text_ = text;
        Scope scope;
        scope.outer = outer;
        std::string from;
        for (const sql::FromItem& item : core.from)
            AddSource(item, scope, from, outer);
        text_ = text;

        bool aggregate = !core.groupBy.empty() || HasAggregate(core.having.get());
        for (const sql::ResultColumn& rc : core.columns)
            aggregate = aggregate || HasAggregate(rc.expr.get());
        if (whole)
            for (const sql::OrderTerm& t : whole->orderBy)
                aggregate = aggregate || HasAggregate(t.expr.get());

        Ctx ctx = PlainCtx(scope);
        ctx.aggregateQuery = aggregate;
        ctx.grouped = !core.groupBy.empty();
        ctx.allowAggregates = true;
        if (scope.sources.size() == 1 && scope.sources[0].hasRowid) {
            ctx.scanKey = scope.sources[0].alias + ".rowid";
            for (const auto& g : core.groupBy)
                if (GroupsByRowid(*g, scope.sources[0])) ctx.singleRowGroups = true;
        }

        Result r;
        std::vector<std::string> select;
        for (const sql::ResultColumn& rc : core.columns) {
            if (rc.star) {
                bool any = false;
                for (const Source& s : scope.sources) {
                    if (!rc.starTable.empty() && !sql::SameName(s.name, rc.starTable)) continue;
                    any = true;
                    Charge(s.cols.size());
                    for (const Col& c : s.cols) {
                        r.names.push_back(c.name);
                        r.cols.push_back(ColumnInContext(c, ctx, false));
                    }
                }
                if (!any)
                    Fail(rc.starTable.empty() ? "no tables specified" : "no such table: " + rc.starTable);
                continue;
            }
            r.names.push_back(rc.alias.empty() ? Squeeze(text.substr(rc.begin, rc.end - rc.begin))
                                               : rc.alias);
            r.cols.push_back(Compile(*rc.expr, ctx));
        }
        for (std::size_t i = 0; i < r.cols.size(); ++i)
            select.push_back(r.cols[i].sql + " AS r" + std::to_string(i));

        std::string sql = "SELECT ";
        if (core.distinct) sql += "DISTINCT ";
        for (std::size_t i = 0; i < select.size(); ++i)
            sql += (i ? ", " : "") + select[i];
        if (!from.empty()) sql += " FROM " + from;
        if (core.where) {
            Ctx where = PlainCtx(scope);
            sql += " WHERE " + AsBool(Compile(*core.where, where));
        }
        if (!core.groupBy.empty()) {
            std::string terms;
            for (const auto& g : core.groupBy) {
                const Val v = Compile(*g, PlainCtx(scope));
                terms += (terms.empty() ? "" : ", ") + SortKey(v);
            }
            sql += " GROUP BY " + terms;
        }
        if (core.having) sql += " HAVING " + AsBool(Compile(*core.having, ctx));
        if (whole && !whole->orderBy.empty()) {
            std::string terms;
            for (const sql::OrderTerm& t : whole->orderBy) {
                const Val* named = OrderByColumn(*t.expr, r.names, r.cols);
                const Val v = named ? *named : Compile(*t.expr, ctx);
                terms += (terms.empty() ? "" : ", ") + SortKey(v) + (t.desc ? " DESC" : "");
            }
            // Rows that sort alike come in reverse scan order, as SQLite 2 delivers them.
            if (!aggregate && !core.distinct && !ctx.scanKey.empty()) terms += ", " + ctx.scanKey + " DESC";
            sql += " ORDER BY " + terms;
        }
        if (whole) sql += Limit(*whole);
        ChargeText(sql);
        r.sql = sql;
        return r;
    }

    bool GroupsByRowid(const Expr& e, const Source& src) {
        if (e.kind != Kind::Column || (!e.table.empty() && !sql::SameName(e.table, src.name))) return false;
        if (const Col* c = FindIn(src, e.column)) return c->rowid;
        return sql::SameName(e.column, "rowid") || sql::SameName(e.column, "oid") ||
               sql::SameName(e.column, "_rowid_");
    }

    // ---- expressions
    Val ColumnInContext(const Col& c, const Ctx& ctx, bool outerColumn) {
        if (ctx.aggregateQuery && !ctx.insideAggregate && !outerColumn && !ctx.singleRowGroups) {
            // Outside an aggregate: the group's first row, or NULL when there are no groups.
            if (!ctx.grouped) {
                Val v = NullVal();
                v.text = c.text;
                return v;
            }
            const Val v = ColVal(c);
            return Computed("sq2_first(" + v.sql + (ctx.scanKey.empty() ? "" : ", " + ctx.scanKey) + ")",
                            c.text, c.numForm, c.textForm);
        }
        return ColVal(c);
    }

    Val ColumnRef(const Expr& e, const Ctx& ctx) {
        const bool rowidName = sql::SameName(e.column, "rowid") || sql::SameName(e.column, "oid") ||
                               sql::SameName(e.column, "_rowid_");
        bool outerColumn = false;
        for (const Scope* scope = ctx.scope; scope; scope = scope->outer, outerColumn = true) {
            const Col* found = nullptr;
            bool sourceNamed = false;
            for (const Source& s : scope->sources) {
                if (!e.table.empty() && !sql::SameName(s.name, e.table)) continue;
                sourceNamed = true;
                if (const Col* c = FindIn(s, e.column)) {
                    if (found) Fail("ambiguous column name: " + Written(e));
                    found = c;
                }
            }
            if (found) return ColumnInContext(*found, ctx, outerColumn);
            if (rowidName) {
                const Source* only = nullptr;
                int count = 0;
                for (const Source& s : scope->sources)
                    if ((e.table.empty() || sql::SameName(s.name, e.table)) && s.hasRowid) {
                        only = &s;
                        ++count;
                    }
                if (count == 1) {
                    Col c;
                    c.name = e.column;
                    c.sql = only->alias + ".rowid";
                    c.numForm = true;
                    return ColumnInContext(c, ctx, outerColumn);
                }
                if (count > 1) Fail("ambiguous column name: " + Written(e));
            }
            if (!e.table.empty() && sourceNamed) break;
        }
        if (e.quoted && e.table.empty()) return StringLiteral(e.column); // a "quoted" word that names nothing
        Fail("no such column: " + Written(e));
    }

    static std::string Written(const Expr& e) {
        return e.table.empty() ? e.column : e.table + "." + e.column;
    }

    static std::string Compare(const std::string& op, const Val& a, const Val& b) {
        if (a.text && b.text) return "(" + AsText(a) + " " + op + " " + AsText(b) + ")";
        return "(" + AsNum(a) + " " + op + " " + AsNum(b) + ")";
    }

    Val Compile(const Expr& e, const Ctx& ctx) {
        const Nesting nesting(*this);
        Charge(1);
        Val v = CompileNode(e, ctx);
        ChargeText(v.sql);
        return v;
    }

    Val CompileNode(const Expr& e, const Ctx& ctx) {
        switch (e.kind) {
        case Kind::Null:
            return NullVal();
        case Kind::Integer:
        case Kind::Float:
            return NumberLiteral(e.value, e.kind == Kind::Integer);
        case Kind::String:
            return StringLiteral(e.value);
        case Kind::Column:
            return ColumnRef(e, ctx);
        case Kind::Unary:
            return Unary(e, ctx);
        case Kind::Binary:
            return Binary(e, ctx);
        case Kind::IsNull:
            return Boolean("(" + Compile(*e.args[0], ctx).sql + (e.negated ? " IS NOT NULL)" : " IS NULL)"));
        case Kind::Like: {
            const Val a = Compile(*e.args[0], ctx);
            const Val b = Compile(*e.args[1], ctx);
            return Boolean("(" + AsText(a) + (e.negated ? " NOT " : " ") + e.op + " " + AsText(b) + ")");
        }
        case Kind::Between: {
            const Val x = Compile(*e.args[0], ctx);
            const Val lo = Compile(*e.args[1], ctx);
            const Val hi = Compile(*e.args[2], ctx);
            const std::string both = "(" + Compare(">=", x, lo) + " AND " + Compare("<=", x, hi) + ")";
            return Boolean(e.negated ? "(NOT " + both + ")" : both);
        }
        case Kind::InList: {
            // SQLite 2 looks the value up among the texts of the list.
            std::string list;
            for (std::size_t i = 1; i < e.args.size(); ++i)
                list += (i > 1 ? ", " : "") + AsText(Compile(*e.args[i], ctx));
            const Val x = Compile(*e.args[0], ctx);
            return Boolean("(" + AsText(x) + (e.negated ? " NOT IN (" : " IN (") + list + "))");
        }
        case Kind::InSelect: {
            const Val x = Compile(*e.args[0], ctx);
            Result sub = SubSelect(*e.select, ctx);
            const std::string alias = NewAlias();
            Val col = sub.cols[0];
            col.sql = alias + ".r0";
            return Boolean("(" + AsText(x) + (e.negated ? " NOT IN (" : " IN (") + "SELECT " + AsText(col) +
                           " FROM (" + sub.sql + ") AS " + alias + "))");
        }
        case Kind::Function:
            return Function(e, ctx);
        case Kind::Case:
            return Case(e, ctx);
        case Kind::Subquery: {
            Result sub = SubSelect(*e.select, ctx);
            Val v = sub.cols[0];
            v.sql = "(" + sub.sql + ")";
            v.boolean = v.literal = false;
            return v;
        }
        }
        Fail("unsupported expression");
    }

    Result SubSelect(const sql::Select& s, const Ctx& ctx) {
        const std::string_view saved = text_;
        Result sub = CompileSelect(s, text_, ctx.scope);
        text_ = saved;
        if (sub.cols.size() != 1)
            Fail("only a single result allowed for a SELECT that is part of an expression");
        return sub;
    }

    Val Unary(const Expr& e, const Ctx& ctx) {
        const Val a = Compile(*e.args[0], ctx);
        if (e.op == "+") return a;
        if (e.op == "NOT") return Boolean("(NOT " + AsBool(a) + ")");
        if (e.op == "~") {
            Val v = Computed("sq2_bit(5, " + a.sql + ", 0)", false, true, false);
            v.integer = true;
            return v;
        }
        // Minus: a number written in the statement stays a literal.
        if (a.literal && !a.text && LooksLikeNumber(a.literalText)) {
            const std::string t = a.literalText[0] == '-'   ? a.literalText.substr(1)
                                  : a.literalText[0] == '+' ? "-" + a.literalText.substr(1)
                                                            : "-" + a.literalText;
            return NumberLiteral(t, a.integer);
        }
        Val v = Computed("sq2_neg(" + a.sql + ", " + (a.integer ? "1" : "0") + ")", false, true, false);
        v.integer = a.integer;
        return v;
    }

    Val Binary(const Expr& e, const Ctx& ctx) {
        const Val a = Compile(*e.args[0], ctx);
        const Val b = Compile(*e.args[1], ctx);
        const std::string& op = e.op;
        if (op == "AND" || op == "OR") return Boolean("(" + AsBool(a) + " " + op + " " + AsBool(b) + ")");
        if (op == "=" || op == "!=" || op == "<" || op == "<=" || op == ">" || op == ">=")
            return Boolean(Compare(op, a, b));
        if (op == "||") return Computed("(" + AsText(a) + " || " + AsText(b) + ")", true, false, true);
        static const char* const kArith[] = {"+", "-", "*", "/", "%"};
        for (int k = 0; k < 5; ++k)
            if (op == kArith[k]) {
                const bool integer = a.integer && b.integer;
                Val v = Computed("sq2_arith(" + std::to_string(k) + ", " + a.sql + ", " + b.sql + ", " +
                                     (integer ? "1" : "0") + ")",
                                 false, true, false);
                v.integer = integer;
                return v;
            }
        static const char* const kBits[] = {"&", "|", "<<", ">>"};
        for (int k = 0; k < 4; ++k)
            if (op == kBits[k]) {
                Val v = Computed("sq2_bit(" + std::to_string(k + 1) + ", " + a.sql + ", " + b.sql + ")",
                                 false, true, false);
                v.integer = true;
                return v;
            }
        Fail("unsupported operator " + op);
    }

    Val Case(const Expr& e, const Ctx& ctx) {
        std::size_t i = 0;
        Val base;
        if (e.hasBase) base = Compile(*e.args[i++], ctx);
        const std::size_t whenEnd = e.args.size() - (e.hasElse ? 1 : 0);
        std::string sql = "CASE";
        bool text = false, numForm = true, textForm = true;
        auto result = [&](const Val& r) {
            text = text || r.text;
            numForm = numForm && r.numForm;
            textForm = textForm && r.textForm;
            return r.sql;
        };
        for (; i + 1 < whenEnd; i += 2) {
            const Val when = Compile(*e.args[i], ctx);
            const std::string test = e.hasBase ? Compare("=", base, when) : AsBool(when);
            sql += " WHEN " + test + " THEN " + result(Compile(*e.args[i + 1], ctx));
        }
        if (e.hasElse) sql += " ELSE " + result(Compile(*e.args.back(), ctx));
        sql += " END";
        return Computed(sql, text, numForm, textForm);
    }

    void ArgCount(const Expr& e, std::size_t min, std::size_t max) {
        if (e.star || e.args.size() < min || e.args.size() > max)
            Fail("wrong number of arguments to function " + e.value + "()");
    }

    Val Function(const Expr& e, const Ctx& ctx) {
        const std::string name = Lower(e.value);
        if (IsAggregateName(name, e.args.size(), e.star)) return Aggregate(e, name, ctx);
        std::vector<Val> args;
        for (const auto& a : e.args)
            args.push_back(Compile(*a, ctx));
        auto join = [&](auto form) {
            std::string s;
            for (std::size_t i = 0; i < args.size(); ++i)
                s += (i ? ", " : "") + form(args[i]);
            return s;
        };
        if (name == "min" || name == "max") {
            ArgCount(e, 2, 100);
            const bool numeric = !args[0].text;
            const bool allNum = std::all_of(args.begin(), args.end(), [](const Val& v) { return v.numForm; });
            if (!numeric) return Computed(name + "(" + join(AsText) + ")", true, false, true);
            if (allNum)
                return Computed(name + "(" + join([](const Val& v) { return v.sql; }) + ")", false, true,
                                false);
            return Computed("sq2_minmax2(" + std::string(name == "max" ? "1" : "0") + ", " +
                                join([](const Val& v) { return v.sql; }) + ")",
                            false, false, false);
        }
        if (name == "length") {
            ArgCount(e, 1, 1);
            Val v = Computed("sq2_length(" + AsText(args[0]) + ")", false, true, false);
            v.integer = true;
            return v;
        }
        if (name == "substr") {
            ArgCount(e, 3, 3);
            return Computed("sq2_substr(" + AsText(args[0]) + ", " + args[1].sql + ", " + args[2].sql + ")",
                            true, false, true);
        }
        if (name == "upper" || name == "lower") {
            ArgCount(e, 1, 1);
            return Computed(name + "(" + AsText(args[0]) + ")", true, false, true);
        }
        if (name == "abs") {
            ArgCount(e, 1, 1);
            Val v = Computed("sq2_abs(" + args[0].sql + ", " + (args[0].integer ? "1" : "0") + ")", false,
                             true, false);
            v.integer = args[0].integer;
            return v;
        }
        if (name == "round") {
            ArgCount(e, 1, 2);
            return Computed("sq2_round(" + join([](const Val& v) { return v.sql; }) + ")", false, false,
                            true);
        }
        if (name == "coalesce" || name == "ifnull") {
            ArgCount(e, 2, name == "ifnull" ? 2 : 100);
            bool text = false, numForm = true, textForm = true;
            for (const Val& v : args) {
                text = text || v.text;
                numForm = numForm && v.numForm;
                textForm = textForm && v.textForm;
            }
            return Computed("coalesce(" + join([](const Val& v) { return v.sql; }) + ")", text, numForm,
                            textForm);
        }
        if (name == "nullif") {
            ArgCount(e, 2, 2);
            return Computed("CASE WHEN " + Compare("=", args[0], args[1]) + " THEN NULL ELSE " + args[0].sql +
                                " END",
                            args[0].text, args[0].numForm, args[0].textForm);
        }
        if (name == "like" || name == "glob") {
            ArgCount(e, 2, 2);
            return Boolean("(" + AsText(args[1]) + " " + (name == "like" ? "LIKE" : "GLOB") + " " +
                           AsText(args[0]) + ")");
        }
        if (name == "random") {
            ArgCount(e, 0, 1);
            return Computed("sq2_random()", false, true, false);
        }
        if (name == "sqlite_version") {
            ArgCount(e, 0, 1);
            return StringLiteral("2.8.17");
        }
        if (name == "last_insert_rowid" || name == "change_count") {
            ArgCount(e, 0, 0);
            return NumberLiteral("0", true);
        }
        Fail("no such function: " + e.value);
    }

    Val Aggregate(const Expr& e, const std::string& name, const Ctx& ctx) {
        if (!ctx.allowAggregates || ctx.insideAggregate)
            Fail("misuse of aggregate function " + e.value + "()");
        Ctx inner = ctx;
        inner.insideAggregate = true;
        if (name == "count") {
            Val v;
            if (e.star || e.args.empty()) {
                v = Computed("count(*)", false, true, false);
            } else {
                const Val a = Compile(*e.args[0], inner);
                v = Computed(std::string("count(") + (e.distinct ? "DISTINCT " + AsText(a) : a.sql) + ")",
                             false, true, false);
            }
            v.integer = true;
            return v;
        }
        if (e.star || e.args.size() != 1) Fail("wrong number of arguments to function " + e.value + "()");
        const Val a = Compile(*e.args[0], inner);
        if (name == "sum" || name == "avg")
            return Computed("sq2_" + name + "(" + a.sql + ")", false, true, false);
        if (a.text) return Computed(name + "(" + AsText(a) + ")", true, false, true);
        if (a.numForm) return Computed(name + "(" + a.sql + ")", false, true, false);
        return Computed("sq2_" + name + "(" + a.sql + ")", false, false, false);
    }

    const Schema& schema_;
    TableProvider& tables_;
    ColumnUse& use_;
    bool collecting_;
    std::string_view text_;
    int aliases_ = 0;
    int viewDepth_ = 0;
    int depth_ = 0;
    std::size_t work_ = 0;
};

} // namespace

CompiledSelect CompileSelect(const sql::Select& select, std::string_view text, const Schema& schema,
                             TableProvider& tables) {
    // First find the columns the statement reads, so that only those are copied into SQLite 3.
    ColumnUse use;
    UseCollector collector;
    Compiler(schema, collector, use, true).CompileSelect(select, text, nullptr);
    Compiler compiler(schema, tables, use, false);
    Result r = compiler.CompileSelect(select, text, nullptr);
    return CompiledSelect{std::move(r.sql), std::move(r.names)};
}

} // namespace sqlite2
