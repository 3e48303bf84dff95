// The SQL dialect: tokens, syntax errors with SQLite 2's texts, and what a CREATE TABLE declares.
#include "sqlite2/Schema.h"
#include "sqlite2/SqlParser.h"
#include "sqlite2/Sqlite2Error.h"

#include <gtest/gtest.h>

namespace {

using namespace sqlite2;

std::string ErrorOf(const std::string& sql) {
    try {
        sql::ParseStatements(sql);
    } catch (const ESqlite2Error& e) {
        return e.Message;
    }
    return "no error";
}

TEST(SqlText, SyntaxErrorsNameTheToken) {
    const std::pair<const char*, const char*> cases[] = {
        {"SELECT a FROM t WHERE n = 12x", "near \"x\": syntax error"},
        {"SELECT * FROM", "incomplete SQL"},
        {"SELECT a FROM t WHERE", "incomplete SQL"},
        {"SELECT a b c FROM t", "near \"c\": syntax error"},
        {"SELECT @x", "unrecognized token: \"@\""},
        {"SELECT 'open", "unrecognized token: \"'open\""},
        {"SELECT (1", "incomplete SQL"},
        {"SELEC 1", "near \"SELEC\": syntax error"},
        {"SELECT a FROM t LIMIT x", "near \"x\": syntax error"},
        {"SELECT a FROM t RIGHT JOIN u", "RIGHT and FULL OUTER JOINs are not currently supported"},
    };
    for (const auto& [sql, message] : cases)
        EXPECT_EQ(ErrorOf(sql), message) << sql;
}

TEST(SqlText, DeepNestingIsAnErrorNotACrash) {
    const std::string open(100000, '(');
    EXPECT_EQ(ErrorOf("SELECT " + open + "1" + std::string(100000, ')')), "parser stack overflow");
    std::string minus;
    for (int i = 0; i < 50000; ++i)
        minus += "- ";
    EXPECT_EQ(ErrorOf("SELECT " + minus + "1"), "parser stack overflow");
    std::string nested = "SELECT 1";
    for (int i = 0; i < 300; ++i)
        nested = "SELECT * FROM (" + nested + ")";
    EXPECT_EQ(ErrorOf(nested), "parser stack overflow");
    EXPECT_THROW(
        sql::ParseCreateTable("CREATE TABLE t (a CHECK (" + open + "1" + std::string(100000, ')') + "))"),
        ESqlite2Error);
}

TEST(SqlText, StatementsAndKeywordsAsNames) {
    auto statements =
        sql::ParseStatements(";SELECT seq, desc, update_time FROM log ORDER BY seq desc;; DELETE FROM log;");
    ASSERT_EQ(statements.size(), 2u);
    const auto& select = *std::get<std::unique_ptr<sql::Select>>(statements[0]);
    ASSERT_EQ(select.cores[0].columns.size(), 3u);
    EXPECT_EQ(select.cores[0].columns[1].expr->column, "desc");
    ASSERT_EQ(select.orderBy.size(), 1u);
    EXPECT_TRUE(select.orderBy[0].desc);
    EXPECT_EQ(std::get<sql::WriteStatement>(statements[1]).verb, "DELETE");
    EXPECT_TRUE(sql::ParseStatements("  -- nothing\n /* at all */ ").empty());
}

TEST(SqlText, LimitForms) {
    const std::tuple<const char*, long long, long long> cases[] = {
        {"SELECT a FROM t LIMIT 8 OFFSET 0", 8, 0},
        {"SELECT a FROM t LIMIT 5, 10", 10, 5},
        {"SELECT a FROM t LIMIT -1", -1, 0},
    };
    for (const auto& [sql, limit, offset] : cases) {
        auto s = sql::ParseSelect(sql);
        EXPECT_TRUE(s->hasLimit);
        EXPECT_EQ(s->limit, limit) << sql;
        EXPECT_EQ(s->offset, offset) << sql;
    }
}

struct Declared {
    const char* sql;
    int rowidColumn;
    std::vector<bool> textTyped;
};

TEST(SqlText, CreateTableDeclares) {
    const Declared cases[] = {
        {"CREATE TABLE avfile (seq INTEGER PRIMARY KEY, file_name VARCHAR(128), n)", 0, {false, true, false}},
        {"create table t (id integer primary key asc, b)", 0, {false, false}},
        {"CREATE TABLE pk (k INT PRIMARY KEY, v VARCHAR(10) UNIQUE)", -1, {false, true}},
        {"CREATE TABLE t (a TEXT, b INTEGER, PRIMARY KEY(b))", 1, {true, false}},
        {"CREATE TABLE t (a INTEGER, b INTEGER, PRIMARY KEY(a, b))", -1, {false, false}},
        {"CREATE TABLE t (a INTEGER PRIMARY KEY, b INTEGER PRIMARY KEY)", -1, {false, false}},
        {"CREATE TABLE t (a INTEGER(10) PRIMARY KEY, b)", -1, {false, false}},
        {"CREATE TABLE t (a CLOB, b BLOB, c NCHAR(3), d DATE, e REAL, f NUMERIC)",
         -1,
         {true, true, true, false, false, false}},
        {"CREATE TABLE t (a VARCHAR COLLATE NUMERIC, b INTEGER COLLATE TEXT)", -1, {false, true}},
        {"CREATE TABLE t (\"order\" TEXT NOT NULL DEFAULT 'x', [group] INT DEFAULT -1 CHECK (x > 0), "
         "c REFERENCES u(x) ON DELETE CASCADE, CONSTRAINT k UNIQUE (c) ON CONFLICT REPLACE)",
         -1,
         {true, false, false}},
    };
    for (const Declared& c : cases) {
        SCOPED_TRACE(c.sql);
        const TableInfo info = DescribeTable(sql::ParseCreateTable(c.sql));
        EXPECT_EQ(info.integerPrimaryKey, c.rowidColumn);
        ASSERT_EQ(info.columns.size(), c.textTyped.size());
        for (std::size_t i = 0; i < c.textTyped.size(); ++i)
            EXPECT_EQ(info.columns[i].textTyped, c.textTyped[i]) << i;
    }
    EXPECT_EQ(
        DescribeTable(sql::ParseCreateTable("CREATE TABLE t (\"order\" TEXT, [x y] INT)")).columns[1].name,
        "x y");
}

TEST(SqlText, CreateTableRefusals) {
    for (const char* sql : {"CREATE TABLE t ()", "CREATE TABLE t (a, A)", "CREATE TABLE t (a) garbage",
                            "CREATE TABLE t AS SELECT 1", "CREATE INDEX i ON t(a)"}) {
        EXPECT_THROW(DescribeTable(sql::ParseCreateTable(sql)), ESqlite2Error) << sql;
    }
}

} // namespace
