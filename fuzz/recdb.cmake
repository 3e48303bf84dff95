# The recorder's log database, written from fuzzed rows and read through the database wrapper into the
# log list's lines.
harbek_fuzz(fuzz_loglist SOURCES fuzz_loglist.cpp LIBS harbek_recdb harbek_sqlite2 harbek_fuzz_support SECONDS 25)
