# Ordinal and vector maps, whole-bitmap filters and the range bars.
target_sources(harbek_bitmap32 PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_OrdinalMaps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Filters.cpp)
target_sources(harbek_bitmap32 PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_VectorMaps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_VectorMapsMesh.cpp)
target_sources(harbek_bitmap32 PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_RangeBars.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_RangeBarsPosition.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_RangeBarsPaint.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_RangeBarsForms.cpp)

# The image view scrolls an image control: built once the image controls are part of the library.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Image.cpp)
    target_sources(harbek_bitmap32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/Bmp32_ImageView.cpp)
endif()
