# The setup pages' rules without windows.
if(TARGET harbek_setup_pages)
    harbek_test(setup_rules_tests LABEL setup
        SOURCES PagesRulesTest.cpp
        LIBS harbek_setup_pages)
endif()

# The setup pass through the real windows against simulated recorders: the download, the pages, the
# menu's CANCEL and APPLY, the upload to several recorders.
if(TARGET harbek_setup_forms AND TARGET harbek_client_forms AND TARGET harbek_recsim)
    add_library(harbek_setup_pages_rig STATIC
        ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
        ${PROJECT_SOURCE_DIR}/tests/client/LoginRig.cpp
        ${PROJECT_SOURCE_DIR}/tests/net/NetPeer.cpp
        PagesRig.cpp)
    target_link_libraries(harbek_setup_pages_rig PUBLIC harbek_windows harbek_client_core harbek_recsim
                                                        harbek_platform harbek_testsupport GTest::gmock)
    harbek_test(setup_pages_tests LABEL setup TIMEOUT 600
        SOURCES
            PagesFormsTest.cpp
            PagesSetupPassTest.cpp
            PagesSnapshotTest.cpp
            PagesUploadTest.cpp
        LIBS harbek_setup_pages_rig)
    # Long random walks through every page, started first.
    harbek_test(setup_model_tests LABEL setup TIMEOUT 600 COST 300 LONG
        SOURCES SetupModelTest.cpp
        LIBS harbek_setup_pages_rig)
    if(TARGET harbek_skins)
        add_dependencies(setup_pages_tests harbek_skins)
        add_dependencies(setup_model_tests harbek_skins)
    endif()
endif()

# The setup windows call the main window, so their layout tests link every window library.
if(TARGET setup_forms_tests AND TARGET harbek_windows)
    target_link_libraries(setup_forms_tests PRIVATE harbek_windows)
endif()
