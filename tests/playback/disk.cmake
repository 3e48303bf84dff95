# The volume layer under a replaced device list and mount table.
harbek_test(platform_disk_tests LABEL platform
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/VolumesTest.cpp
    LIBS harbek_platform_disk)
# The recorder disk's volumes and folder walk.
harbek_test(playback_disk_tests LABEL playback
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/RecorderDiskTest.cpp
    LIBS harbek_playback harbek_platform_disk)
