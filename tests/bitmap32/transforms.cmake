harbek_test(bitmap32_transform_tests LABEL bitmap32
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/TransformationTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TransformDrawTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/TransformationRemapTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RasterizerTest.cpp
    LIBS harbek_bitmap32)
