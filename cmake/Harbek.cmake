# Helpers shared by every folder of the tree.

find_package(PkgConfig REQUIRED)

# harbek_library(NAME SOURCES ... [PUBLIC_LIBS ...] [PRIVATE_LIBS ...])
function(harbek_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;PUBLIC_LIBS;PRIVATE_LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_PUBLIC_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
endfunction()

# harbek_test(NAME LABEL folder SOURCES ... [LIBS ...] [TIMEOUT seconds] [COST n] [RUN_SERIAL] [LONG])
# One GoogleTest executable; each of its tests becomes a CTest test labelled with the folder. RUN_SERIAL
# runs its tests with no other test beside them (they change what the whole computer sees). LONG tests
# mostly wait on real time (a driven display, a recorder's pace): each takes a slot of the "long"
# resource that tests/resources.json declares, so under `make test` only so many run at once and the short
# ones use the processors meanwhile, at a lower priority (HARBEK_SHORT_TEST_NICE).
function(harbek_test name)
    cmake_parse_arguments(ARG "RUN_SERIAL;LONG" "LABEL;TIMEOUT;COST" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_LABEL)
        message(FATAL_ERROR "harbek_test(${name}) needs a LABEL")
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    # harbek_testmain sets the test environment (offscreen Qt, fixture and tree paths) before any test,
    # so a test program behaves the same under CTest and when run by hand.
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} harbek_testsupport harbek_testmain GTest::gmock)
    # Modules the program loads at run time (the browser engine's) lie beside the client; a test program
    # finds them through its run path. An old-style RPATH, because the sanitizer's runtime makes the
    # dlopen call and a RUNPATH serves only calls from the program itself.
    set_property(TARGET ${name} APPEND PROPERTY BUILD_RPATH ${PROJECT_BINARY_DIR}/client)
    target_link_options(${name} PRIVATE -Wl,--disable-new-dtags)
    set(serial "")
    if(ARG_RUN_SERIAL)
        set(serial RUN_SERIAL TRUE)
    endif()
    # A high cost starts the long tests first, so a clean clone's run does not end waiting on them alone.
    set(cost "")
    if(ARG_COST)
        set(cost COST ${ARG_COST})
    endif()
    set(long "")
    if(ARG_LONG)
        set(long RESOURCE_GROUPS long:1 ENVIRONMENT HARBEK_TEST_LONG=1)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT} ${serial} ${cost} ${long})
endfunction()
