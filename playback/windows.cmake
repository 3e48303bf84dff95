# The playback windows' plain parts: frame indexes built for recordings without one.
target_sources(harbek_playback PRIVATE ${CMAKE_CURRENT_LIST_DIR}/FrameIndexScan.cpp)
