# The recorded-file reader reads recordings of the store generator too.
target_link_libraries(playback_reader_tests PRIVATE harbek_recgen)

# The reader thread with its rings, the play list and the chaining through the disk database.
harbek_test(playback_reader_thread_tests LABEL playback
    SOURCES QelReaderThreadTest.cpp QelPlayListTest.cpp
    LIBS harbek_playback harbek_recgen)
