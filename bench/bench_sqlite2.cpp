// Database open and query times as the client feels them. Each "first" run forgets every cached file,
// so it pays for reading the file and copying the tables the query reads; "repeated" runs the same
// query on the already open file; the ratio of the two is reported in the same run.
#include "recdb/QelDbSql.h"
#include "recdb/QelDbTypes.h"
#include "recdb/SqliteDb.h"
#include "sqlite2/Sqlite2Database.h"
#include "sqlite2/Sqlite2Writer.h"
#include "tests/sqlite2/SchemaImage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

namespace schema = sqlite2::recorder_schema;

std::string Fixture(const char* name) {
    return std::string(HARBEK_FIXTURES) + "/sqlite2/" + name;
}

// A pyrdb of 50,000 files (500 days of 100 files), written once per run by the writer.
const std::string& LargeFile() {
    static const std::string path = [] {
        char folder[] = "/tmp/bench_sqlite2_XXXXXX";
        const std::string dir = ::mkdtemp(folder) ? folder : "/tmp";
        const std::string file = dir + "/pyrdb";
        sqlite2::Sqlite2Writer w;
        w.CreateTable(schema::DaylistSql());
        w.CreateTable(schema::AvfileSql());
        long long t = 1199145600; // 2008-01-01
        for (int seq = 1; seq <= 50000; ++seq, t += 240) {
            sqlite2::Row row(schema::AvColumnCount);
            const std::time_t start = static_cast<std::time_t>(t);
            std::tm tm{};
            ::gmtime_r(&start, &tm);
            char date[32], name[64];
            std::snprintf(date, sizeof date, "%04d%02d%02d%02d%02d%02d", tm.tm_year + 1900, tm.tm_mon + 1,
                          tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
            std::snprintf(name, sizeof name, "%.8s/%.2s/%s.avr", date, date + 8, date);
            row[schema::AvSeq] = seq;
            row[schema::AvFileName] = name;
            row[schema::AvYear] = tm.tm_year + 1900;
            row[schema::AvMonth] = tm.tm_mon + 1;
            row[schema::AvDay] = tm.tm_mday;
            row[schema::AvHour] = tm.tm_hour;
            row[schema::AvStartDate] = date;
            row[schema::AvEndDate] = date;
            row[schema::AvStartTime] = t;
            row[schema::AvEndTime] = t + 239;
            row[schema::AvUpdateTime] = t + 241;
            row[schema::AvSystemId] = "QV4CH-0012A7F3";
            for (int c = 0; c < 4; ++c) {
                row[schema::AvEventType1 + c] = seq % 37 == c ? 1 : 0;
                row[schema::AvCount1 + c] = 3600;
            }
            w.Insert("avfile", row);
            if (seq % 100 == 1) w.Insert("daylist", {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, 1});
        }
        w.WriteFile(file);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(std::filesystem::path(LargeFile()).parent_path(), ec);
        });
        return file;
    }();
    return path;
}

const std::string kCalendar = QelDbSql::NewestMonth(smAll);
const std::string kChaining = QelDbSql::AdjacentFile(true, smAll, 50, 4);

void FirstQuery(benchmark::State& state, const std::string& file, const std::string& sql) {
    double first = 0, again = 0;
    std::size_t rows = 0;
    for (auto _ : state) {
        sqlite2::Sqlite2Database::ClearCache();
        const auto t0 = std::chrono::steady_clock::now();
        sqlite_db db;
        db.open(file);
        benchmark::DoNotOptimize(db.query(sql));
        const auto t1 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(db.query(sql));
        const auto t2 = std::chrono::steady_clock::now();
        first += std::chrono::duration<double, std::milli>(t1 - t0).count();
        again += std::chrono::duration<double, std::milli>(t2 - t1).count();
        rows += sqlite2::Sqlite2Database::Open(file)->RowsImported();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["first_ms"] = first / n;
    state.counters["repeated_ms"] = again / n;
    state.counters["first_vs_repeated"] = again > 0 ? first / again : 0;
    state.counters["rows_copied"] = static_cast<double>(rows) / n;
}

void RepeatedQuery(benchmark::State& state, const std::string& file, const std::string& sql) {
    sqlite_db db;
    db.open(file);
    db.query(sql);
    for (auto _ : state) {
        sqlite_db again; // the client opens for every operation
        again.open(file);
        benchmark::DoNotOptimize(again.query(sql));
    }
}

void ImportRate(benchmark::State& state, const std::string& file) {
    std::size_t rows = 0;
    for (auto _ : state) {
        sqlite2::Sqlite2Database::ClearCache();
        auto db = sqlite2::Sqlite2Database::Open(file);
        db->Exec("SELECT * FROM avfile LIMIT 1", [](int, char**, char**) { return true; });
        rows += db->RowsImported();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(rows));
}

// Hostile files. Opening a schema of n tables: the time per table at 40,000 against 4,000 tables tells
// linear reading (ratio about 1) from quadratic (about 10).
void OpenManyTables(benchmark::State& state) {
    double perTable[2] = {};
    const int counts[2] = {4000, 40000};
    for (auto _ : state)
        for (int k = 0; k < 2; ++k) {
            const std::string image = sqlite2_test::ManyTablesImage(counts[k]);
            const auto t0 = std::chrono::steady_clock::now();
            auto db = sqlite2::Sqlite2Database::FromImage(image);
            db->Exec("SELECT count(*) FROM t" + std::to_string(counts[k] - 1),
                     [](int, char**, char**) { return true; });
            const auto t1 = std::chrono::steady_clock::now();
            perTable[k] += std::chrono::duration<double, std::micro>(t1 - t0).count() / counts[k];
            state.counters["file_kib_" + std::to_string(counts[k])] =
                static_cast<double>(image.size()) / 1024;
        }
    const double n = static_cast<double>(state.iterations());
    state.counters["us_per_table_4k"] = perTable[0] / n;
    state.counters["us_per_table_40k"] = perTable[1] / n;
    state.counters["per_table_40k_vs_4k"] = perTable[0] > 0 ? perTable[1] / perTable[0] : 0;
}

// A statement over the last of a chain of views that each join the one before with itself, until it
// is refused or answered.
void ViewChain(benchmark::State& state) {
    const auto db =
        sqlite2::Sqlite2Database::FromImage(sqlite2_test::SchemaImage(sqlite2_test::ViewChainRows(14)));
    std::string outcome = "answered";
    for (auto _ : state) {
        try {
            db->Exec("SELECT count(*) FROM v14", [](int, char**, char**) { return true; });
        } catch (const ESqlite2Error& e) {
            outcome = e.Message;
        }
    }
    state.SetLabel(outcome.substr(0, 60));
}

BENCHMARK(OpenManyTables)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(ViewChain)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(FirstQuery, pyrdb_large_calendar, Fixture("pyrdb_large.db"), kCalendar)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstQuery, pyrdb_large_chaining, Fixture("pyrdb_large.db"), kChaining)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstQuery, large50k_calendar, LargeFile(), kCalendar)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstQuery, large50k_chaining, LargeFile(), kChaining)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RepeatedQuery, pyrdb_large_chaining, Fixture("pyrdb_large.db"), kChaining)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(RepeatedQuery, large50k_chaining, LargeFile(), kChaining)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportRate, pyrdb_large_all_columns, Fixture("pyrdb_large.db"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportRate, large50k_all_columns, LargeFile())->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
