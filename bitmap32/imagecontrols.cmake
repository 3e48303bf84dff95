# The paint-box and image controls, their layers and the repaint optimizer with its micro tiles.
target_sources(harbek_bitmap32 PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_MicroTiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_RepaintOpt.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Layers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_LayersRubberband.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_PaintBox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_Image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_ImageStages.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Bmp32_ImageItems.cpp)
