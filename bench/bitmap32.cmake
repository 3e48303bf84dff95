# The bitmap library against pixman (a benchmark-only dependency) and the C library's fills and copies.
pkg_check_modules(PIXMAN IMPORTED_TARGET pixman-1)
if(TARGET harbek_bitmap32 AND PIXMAN_FOUND)
    harbek_bench(bench_bitmap32
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_bitmap32.cpp
        LIBS harbek_bitmap32 PkgConfig::PIXMAN)
endif()
