# Kernels, resamplers and their stretches; nested samplers and morphological filters.
harbek_test(bitmap32_resampler_tests LABEL bitmap32 TIMEOUT 300
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/KernelsTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ResampleTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SamplersTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MorphTest.cpp
    LIBS harbek_bitmap32)
