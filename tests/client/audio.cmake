# The sound output and volume of the platform layer, and the G.726 library.
pkg_check_modules(SPANDSP REQUIRED IMPORTED_TARGET spandsp)
if(TARGET harbek_platform_audio)
    harbek_test(platform_audio_tests LABEL platform
        SOURCES ${PROJECT_SOURCE_DIR}/tests/platform/audio/WaveOutTest.cpp
        LIBS harbek_platform_audio)
endif()
if(TARGET harbek_client_forms)
    harbek_test(client_g726_tests LABEL client
        SOURCES ${CMAKE_CURRENT_LIST_DIR}/G726AudioTest.cpp
        LIBS harbek_client_core harbek_platform PkgConfig::SPANDSP)
endif()
if(TARGET harbek_client_forms AND TARGET harbek_recsim)
    harbek_test(client_sound_tests LABEL client TIMEOUT 300
        SOURCES
            ${CMAKE_CURRENT_LIST_DIR}/ClientWindowsSupport.cpp
            ${CMAKE_CURRENT_LIST_DIR}/LoginRig.cpp
            ${CMAKE_CURRENT_LIST_DIR}/KeysTest.cpp
            ${CMAKE_CURRENT_LIST_DIR}/SoundTest.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_recgen harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(client_sound_tests harbek_skins)
    endif()
endif()
