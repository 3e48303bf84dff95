# Kernels, the linear, draft and kernel resamplers and their stretches.
target_sources(harbek_bitmap32 PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Kernels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_KernelsResample.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_KernelsResampler.cpp)
