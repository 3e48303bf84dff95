# Transformations and the rasterizers that draw through them.
target_sources(harbek_bitmap32 PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_TransformationMatrix.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Transformation.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_TransformationDistortions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_TransformationRemap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Rasterizers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_RasterizersWalks.cpp)
