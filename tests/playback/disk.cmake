# The volume layer under a replaced device list and mount table.
harbek_test(platform_disk_tests LABEL platform
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/VolumesTest.cpp
    LIBS harbek_platform_disk)
# The recorder disk's volumes and folder walk.
harbek_test(playback_disk_tests LABEL playback
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecorderDiskTest.cpp
    LIBS harbek_playback harbek_platform_disk)
# The medium chooser and the card file table with the main window up, against the simulated recorder.
if(TARGET harbek_client_forms AND TARGET harbek_recsim)
    harbek_test(playback_disk_windows_tests LABEL playback TIMEOUT 300
        SOURCES
            ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
            ${PROJECT_SOURCE_DIR}/tests/client/LoginRig.cpp
            ${CMAKE_CURRENT_LIST_DIR}/DiskWindowsTest.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_recgen harbek_recdb harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(playback_disk_windows_tests harbek_skins)
    endif()
endif()
# The recorder-disk search button and the folder walk with the main window up.
if(TARGET harbek_client_forms AND TARGET harbek_recsim)
    harbek_test(playback_disk_search_tests LABEL playback TIMEOUT 300
        SOURCES
            ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
            ${PROJECT_SOURCE_DIR}/tests/client/LoginRig.cpp
            ${CMAKE_CURRENT_LIST_DIR}/DiskSearchTest.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_recgen harbek_recdb harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(playback_disk_search_tests harbek_skins)
    endif()
endif()
# A recorder disk as a real EXT2 image on loop devices, mounted, searched and played by the client; runs
# as root where loop devices exist, and skips elsewhere saying why. Alone, since every program that looks
# for a recorder disk on this computer meanwhile would find its volumes.
if(TARGET harbek_client_forms AND TARGET harbek_recsim)
    harbek_test(playback_disk_image_tests LABEL playback TIMEOUT 300 RUN_SERIAL
        SOURCES
            ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
            ${PROJECT_SOURCE_DIR}/tests/client/LoginRig.cpp
            ${CMAKE_CURRENT_LIST_DIR}/DiskVolumeTest.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_recgen harbek_recdb harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(playback_disk_image_tests harbek_skins)
    endif()
endif()
