# Kernels, the linear, draft and kernel resamplers and their stretches; nested samplers and kernel
# samplers.
target_sources(harbek_bitmap32 PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Kernels.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_KernelsResample.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_KernelsResampler.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Samplers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_SamplersTransformer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Morph.cpp)
