# Opening a recorder database and answering the client's queries: open plus first query, the same query
# again on the open file, and rows copied into SQLite 3 per second.
harbek_bench(bench_sqlite2 SOURCES bench_sqlite2.cpp LIBS harbek_sqlite2 harbek_recdb)
target_compile_definitions(bench_sqlite2 PRIVATE HARBEK_FIXTURES="${HARBEK_FIXTURES}")
