# The search drill-down and the main window's mode tabs and remote search, against the simulated
# recorder; the log-in rig of the client's tests is shared.
if(TARGET harbek_recdb_forms AND TARGET harbek_client_forms AND TARGET harbek_recsim)
    harbek_test(recdb_search_tests LABEL recdb TIMEOUT 300
        SOURCES
            ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
            ${PROJECT_SOURCE_DIR}/tests/client/LoginRig.cpp
            SearchFlowTest.cpp
            SearchLoglistTest.cpp
            SearchModesTest.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_recgen harbek_recdb harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(recdb_search_tests harbek_skins)
    endif()
endif()
