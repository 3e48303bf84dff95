# The reader thread with its rings, and the play list with its chaining through the disk database.
target_sources(harbek_playback PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/QelPlayList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/QelReaderThread.cpp)
target_link_libraries(harbek_playback PRIVATE harbek_recdb)
