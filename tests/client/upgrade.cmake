# The firmware upgrade through the main window, against the simulated recorder.
if(TARGET harbek_client_forms AND TARGET harbek_recsim)
    harbek_test(client_upgrade_tests LABEL client TIMEOUT 300
        SOURCES
            ${CMAKE_CURRENT_LIST_DIR}/ClientWindowsSupport.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LoginRig.cpp
            ${CMAKE_CURRENT_LIST_DIR}/UpgradeTest.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(client_upgrade_tests harbek_skins)
    endif()
endif()
