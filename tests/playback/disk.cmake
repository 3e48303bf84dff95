# The volume layer under a replaced device list and mount table.
harbek_test(platform_disk_tests LABEL platform
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/VolumesTest.cpp
    LIBS harbek_platform_disk)
# The recorder disk's volumes and folder walk.
harbek_test(playback_disk_tests LABEL playback
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecorderDiskTest.cpp
    LIBS harbek_playback harbek_platform_disk)
# With the main window up, against the simulated recorder:
# - the medium chooser and the card file table;
# - the recorder-disk search button and the folder walk;
# - a recorder disk as a real EXT2 image on loop devices, mounted, searched and played by the client
#   (as root where loop devices exist, skipped elsewhere saying why); alone, since every program that
#   looks for a recorder disk on this computer meanwhile would find its volumes.
if(TARGET harbek_client_forms AND TARGET harbek_recsim)
    foreach(suite IN ITEMS windows:DiskWindowsTest search:DiskSearchTest image:DiskVolumeTest)
        string(REPLACE ":" ";" parts ${suite})
        list(GET parts 0 area)
        list(GET parts 1 source)
        set(serial "")
        if(area STREQUAL "image")
            set(serial RUN_SERIAL)
        endif()
        harbek_test(playback_disk_${area}_tests LABEL playback TIMEOUT 300 ${serial}
            SOURCES
                ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
                ${PROJECT_SOURCE_DIR}/tests/client/LoginRig.cpp
                ${CMAKE_CURRENT_LIST_DIR}/${source}.cpp
            LIBS harbek_windows harbek_client_core harbek_recsim harbek_recgen harbek_recdb harbek_platform)
        if(TARGET harbek_skins)
            add_dependencies(playback_disk_${area}_tests harbek_skins)
        endif()
    endforeach()
endif()
