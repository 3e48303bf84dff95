# Frame indexes built for recordings without one.
harbek_test(playback_index_scan_tests LABEL playback
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/FrameIndexScanTest.cpp
    LIBS harbek_playback harbek_formats)

# The backup, download and play-list windows with the main window up.
if(TARGET harbek_client_forms)
    harbek_test(playback_backup_windows_tests LABEL playback
        SOURCES
            ${CMAKE_CURRENT_LIST_DIR}/BackupWindowsTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/MapWindowTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/PrintWindowTest.cpp
            ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
        LIBS harbek_windows harbek_client_core harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(playback_backup_windows_tests harbek_skins)
    endif()
endif()
