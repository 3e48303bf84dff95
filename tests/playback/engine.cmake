# The main window's playback: the transport and frame clock on hand-made recordings, file switching,
# the slider, and the remote search's transport against the simulated recorder.
if(TARGET harbek_client_forms AND TARGET harbek_recsim)
    harbek_test(playback_engine_tests LABEL playback TIMEOUT 600
        SOURCES
            ${PROJECT_SOURCE_DIR}/tests/client/ClientWindowsSupport.cpp
            ${PROJECT_SOURCE_DIR}/tests/client/LoginRig.cpp
            PlaybackEngineTest.cpp
            PlaybackFilesTest.cpp
            PlaybackIndexTest.cpp
            PlaybackStandingTest.cpp
            PlaybackRemoteTest.cpp
            PlaybackCopyTest.cpp
            PlaybackMapTest.cpp
        LIBS harbek_windows harbek_client_core harbek_recsim harbek_recgen harbek_recdb harbek_platform)
    if(TARGET harbek_skins)
        add_dependencies(playback_engine_tests harbek_skins)
    endif()
endif()
