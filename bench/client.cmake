# The live pipeline (reassembly, decode, drawing into the quad screens) against libjpeg's bare decode of
# the same pictures, and the A/V parser against memcpy of the same bytes, measured in the same run.
if(TARGET harbek_live AND TARGET harbek_recgen)
    find_package(JPEG REQUIRED)
    harbek_bench(bench_live
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_live.cpp
        LIBS harbek_live harbek_recgen JPEG::JPEG)
endif()
# Start-up: the program's main window shown, with every window created, against a bare application
# showing one window of the same size, each a process of its own started in the same run, offscreen
# and on an X server of its own (Xvfb).
if(TARGET harbek)
    harbek_bench(bench_startup
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/bench_startup.cpp
        LIBS harbek_windows harbek_client_core harbek_platform harbek_testdisplay)
    target_compile_definitions(bench_startup PRIVATE HARBEK_CLIENT_RESOURCES="${PROJECT_BINARY_DIR}/client/resources")
    if(TARGET harbek_skins)
        add_dependencies(bench_startup harbek_skins)
    endif()
endif()
