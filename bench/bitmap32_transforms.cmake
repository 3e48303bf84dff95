# Drawing through a mapping, and the rasterizers' visiting orders, against plain loops in the same run.
if(TARGET harbek_bitmap32)
    harbek_bench(bench_bitmap32_transforms
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_bitmap32_transforms.cpp
        LIBS harbek_bitmap32)
endif()
