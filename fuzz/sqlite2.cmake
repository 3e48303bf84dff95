# The SQLite 2 reader on arbitrary bytes: schema, every table and view through SQL, and the dump.
harbek_fuzz(fuzz_sqlite2_reader SOURCES fuzz_sqlite2_reader.cpp LIBS harbek_sqlite2 SECONDS 60)
