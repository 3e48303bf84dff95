# The stream saver alone, and backups through the client's windows against the simulated recorder.
if(TARGET harbek_saver)
    harbek_test(client_saver_tests LABEL client
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/StreamSaverTest.cpp
        LIBS harbek_saver harbek_formats)
endif()
