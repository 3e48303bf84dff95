# The SQLite 2 reader on arbitrary bytes: schema, every table and view through SQL, and the dump.
harbek_fuzz(fuzz_sqlite2_reader SOURCES fuzz_sqlite2_reader.cpp LIBS harbek_sqlite2 SECONDS 45)
# SQL text of the SQLite 2 dialect through the parser and compiler, run against a fixed small database.
harbek_fuzz(fuzz_sql SOURCES fuzz_sql.cpp LIBS harbek_sqlite2 SECONDS 45 MAX_LEN 2048)
