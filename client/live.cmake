# The live view's plain parts, testable without the main window: the way of each frame and the queue
# of the step-wise playback, the overlays from side data, the screen layouts and the JPEG path into a
# screen. The A/V stream receiver comes with the formats.
harbek_library(harbek_live
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/AvFrameQueue.cpp
        ${CMAKE_CURRENT_LIST_DIR}/AvFrameRoute.cpp
        ${CMAKE_CURRENT_LIST_DIR}/FrameOverlay.cpp
        ${CMAKE_CURRENT_LIST_DIR}/JpegScreen.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ScreenLayout.cpp
    PUBLIC_LIBS harbek_formats harbek_platform_vcl)
