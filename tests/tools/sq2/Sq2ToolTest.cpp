// The sq2 program as people and scripts use it: its output, byte for byte, and its exit status.
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using testing_support::FixturePath;
using testing_support::ReadFileBytes;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

Outcome Sq2(const std::vector<std::string>& args) {
    testing_support::TempDir dir;
    const std::string out = dir.File("out"), err = dir.File("err");
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(o, 1);
        ::dup2(e, 2);
        std::vector<char*> argv{const_cast<char*>(SQ2_PROGRAM)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(SQ2_PROGRAM, argv.data());
        ::_exit(127);
    }
    Outcome r;
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadFileBytes(out);
    r.err = ReadFileBytes(err);
    return r;
}

std::string Fixture(const std::string& name) {
    return FixturePath("sqlite2/" + name);
}

class Sq2Dump : public ::testing::TestWithParam<const char*> {};

TEST_P(Sq2Dump, PrintsTheShellDump) {
    const Outcome r = Sq2({"dump", Fixture(std::string(GetParam()) + ".db")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_TRUE(r.out == ReadFileBytes(Fixture(std::string(GetParam()) + ".dump.sql"))) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Fixtures, Sq2Dump,
                         ::testing::Values("qeldbfile_hdd", "qeldbfile_hdd_be", "loglist", "qeldbfile_empty",
                                           "pyrdb_large", "freelist", "typeless"));

TEST(Sq2Query, OutputLines) {
    struct Case {
        const char* file;
        const char* sql;
        const char* out;
    };
    const Case cases[] = {
        {"qeldbfile_hdd.db", "SELECT year, month FROM daylist WHERE day = 1", "year|month\n2008|1\n2008|1\n"},
        {"qeldbfile_hdd.db", "SELECT end_date, seq FROM avfile WHERE seq >= 151",
         "end_date|seq\n20080102081735|151\n<NULL>|152\n"},
        {"qeldbfile_hdd.db", "SELECT day FROM daylist WHERE day = 5", ""},
        {"qeldbfile_empty.db", "SELECT MAX(year) FROM daylist", "MAX(year)\n<NULL>\n"},
        {"loglist.db", "SELECT desc FROM log WHERE seq = 43", "desc\n\n"},
        {"typeless.db", "SELECT 1; SELECT 2", "1\n1\n2\n"},
        {"typeless.db", "", ""},
    };
    for (const Case& c : cases) {
        const Outcome r = Sq2({"query", Fixture(c.file), c.sql});
        EXPECT_EQ(r.status, 0) << c.sql << r.err;
        EXPECT_EQ(r.out, c.out) << c.sql;
        EXPECT_EQ(r.err, "");
    }
}

TEST(Sq2Query, ErrorsGoToStderrWithStatus1) {
    testing_support::TempDir dir;
    const std::string missing = dir.File("missing.db");
    const std::string damaged = dir.File("damaged.db");
    std::string image = ReadFileBytes(Fixture("loglist.db"));
    image.resize(3 * 1024); // the log table's pages are gone
    testing_support::WriteFileBytes(damaged, image);
    struct Case {
        std::vector<std::string> args;
        const char* err;
    };
    const Case cases[] = {
        {{"query", Fixture("qeldbfile_hdd.db"), "SELECT * FROM H_20080103"},
         "sq2: no such table: H_20080103\n"},
        {{"query", Fixture("qeldbfile_hdd.db"), "SELEC 1"}, "sq2: near \"SELEC\": syntax error\n"},
        {{"query", Fixture("qeldbfile_hdd.db"), "DELETE FROM daylist"},
         "sq2: attempt to write a readonly database\n"},
        {{"query", missing, "SELECT 1"}, "sq2: unable to open database file: "},
        {{"dump", missing}, "sq2: unable to open database file: "},
        {{"dump", damaged}, "sq2: database disk image is malformed"},
        {{"query", damaged, "SELECT count(*) FROM log"}, "sq2: database disk image is malformed"},
        {{"dump", Fixture("queries.txt")}, "sq2: file is encrypted or is not a database\n"},
        {{"query", Fixture("qeldbfile_hdd.db")}, "usage: sq2 dump FILE\n"},
        {{}, "usage: sq2 dump FILE\n"},
        {{"list", Fixture("qeldbfile_hdd.db")}, "usage: sq2 dump FILE\n"},
    };
    for (const Case& c : cases) {
        const Outcome r = Sq2(c.args);
        SCOPED_TRACE(c.args.empty() ? "no arguments" : c.args.back());
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << r.err;
        if (c.args.size() == 3 && c.args[0] == "query") {
            EXPECT_EQ(r.out, "");
        }
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

} // namespace
