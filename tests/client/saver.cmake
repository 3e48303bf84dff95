# The stream saver alone, and backups through the client's windows against the simulated recorder.
if(TARGET harbek_saver)
    harbek_test(client_saver_tests LABEL client
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/StreamSaverTest.cpp
        LIBS harbek_saver harbek_formats)
endif()

if(TARGET harbek_client_forms AND TARGET harbek_recsim AND TARGET harbek_recgen)
    harbek_test(client_backup_tests LABEL client TIMEOUT 300
        SOURCES
            ${CMAKE_CURRENT_LIST_DIR}/BackupFlowTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/ClientWindowsSupport.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LoginRig.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_recgen harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(client_backup_tests harbek_skins)
    endif()
endif()
