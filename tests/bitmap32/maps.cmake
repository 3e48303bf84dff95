harbek_test(bitmap32_map_tests LABEL bitmap32
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/OrdinalMapsTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FiltersTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/VectorMapsTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/VectorMapsMeshTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RangeBarsTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RangeBarsPaintTest.cpp
    LIBS harbek_bitmap32)
if(EXISTS ${PROJECT_SOURCE_DIR}/bitmap32/Bmp32_Image.cpp)
    target_sources(bitmap32_map_tests PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ImageViewTest.cpp)
endif()
