# The recorded-file reader reads recordings of the store generator too.
target_link_libraries(playback_reader_tests PRIVATE harbek_recgen)
