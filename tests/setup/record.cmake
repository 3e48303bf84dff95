# The recording page's and schedule editor's rules, keys and files, without windows.
if(TARGET harbek_setup_record)
    harbek_test(setup_record_tests LABEL setup
        SOURCES
            RecordKeysTest.cpp
            RecordRatesTest.cpp
            ScheduleFileTest.cpp
        LIBS harbek_setup_record)
endif()


# The recording page and the schedule editor with the client's windows, against the simulated recorder.
if(TARGET harbek_setup_forms AND TARGET harbek_recsim)
    harbek_test(setup_record_page_tests LABEL setup TIMEOUT 300
        SOURCES
            RecordPageTest.cpp
            RecordRig.cpp
            ScheduleEditorTest.cpp
            SetupWindows.cpp
            ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
            ${PROJECT_SOURCE_DIR}/tests/client/LoginRig.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(setup_record_page_tests harbek_skins)
    endif()
endif()

# The recording page and the schedule editor call the main window, so the window tests link every
# window library.
if(TARGET setup_forms_tests AND TARGET harbek_windows)
    target_link_libraries(setup_forms_tests PRIVATE harbek_windows)
endif()
