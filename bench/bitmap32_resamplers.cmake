# The resampling stretches against pixman's filters (a benchmark-only dependency) and plain loops.
pkg_check_modules(PIXMAN IMPORTED_TARGET pixman-1)
if(TARGET harbek_bitmap32 AND PIXMAN_FOUND)
    harbek_bench(bench_bitmap32_resamplers
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_bitmap32_resamplers.cpp
        LIBS harbek_bitmap32 PkgConfig::PIXMAN)
endif()
