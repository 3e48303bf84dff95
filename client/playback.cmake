# The main window's local and remote playback: the transport, the frame clock, the sources and file
# switching, the position slider and five seconds back.
target_sources(harbek_client_forms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/PlaybackClock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_clock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_disk.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_playback.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_playback_copy.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_playback_files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_playback_reader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_playback_remote.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_playback_slider.cpp)
