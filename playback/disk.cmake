# The recorder disk: its volumes by label, mounting, and the folder walk over its recording tree.
target_sources(harbek_playback PRIVATE ${CMAKE_CURRENT_LIST_DIR}/RecorderDisk.cpp)
target_link_libraries(harbek_playback PUBLIC harbek_platform_disk)
