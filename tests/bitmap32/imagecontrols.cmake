# The paint-box and image controls, layers, the repaint optimizer and micro tiles.
harbek_test(bitmap32_image_tests LABEL bitmap32
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/ImageGeometryTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MicroTilesTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ImagePaintTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RepaintOptTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/LayersTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ImageFormTest.cpp
        ${CMAKE_CURRENT_LIST_DIR}/PlatformPicturesTest.cpp
    LIBS harbek_bitmap32)
