# The recorder's schedule file as the schedule editor reads and saves it.
harbek_fuzz(fuzz_schedule SOURCES fuzz_schedule.cpp LIBS harbek_setup_record harbek_fuzz_support SECONDS 10)
