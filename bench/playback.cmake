# Recorded frames read per second through the reader (its steps alone, and its thread into the rings with
# a consumer taking them out) against a plain sequential read of the same file, in the same run.
if(TARGET harbek_playback AND TARGET harbek_recgen)
    harbek_bench(bench_playback
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_playback.cpp
        LIBS harbek_playback harbek_recgen)
endif()
