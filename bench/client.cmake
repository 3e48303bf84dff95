# The live pipeline (reassembly, decode, drawing into the quad screens) against libjpeg's bare decode of
# the same pictures, and the A/V parser against memcpy of the same bytes, measured in the same run.
if(TARGET harbek_live AND TARGET harbek_recgen)
    find_package(JPEG REQUIRED)
    harbek_bench(bench_live
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_live.cpp
        LIBS harbek_live harbek_recgen JPEG::JPEG)
endif()
