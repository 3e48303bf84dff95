# The recording page's and schedule editor's rules, keys and files, without windows.
if(TARGET harbek_setup_record)
    harbek_test(setup_record_tests LABEL setup
        SOURCES
            RecordKeysTest.cpp
            RecordRatesTest.cpp
            ScheduleFileTest.cpp
        LIBS harbek_setup_record)
endif()

