harbek_test(bitmap32_map_tests LABEL bitmap32
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/OrdinalMapsTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FiltersTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/VectorMapsTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/VectorMapsMeshTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RangeBarsTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RangeBarsPaintTest.cpp
    LIBS harbek_bitmap32)
