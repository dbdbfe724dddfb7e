# Unit and end-to-end tests run under Wine. One wineserver stays up for the whole run
# (the WineServer fixture), which makes each test process cheap enough to run one per test.
include(GoogleTest)

set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest keeps its own UTF-8 literals; only the project compiles to GBK.
set_target_properties(gtest gtest_main PROPERTIES COMPILE_OPTIONS "")

add_executable(desktop_keeper ${CMAKE_SOURCE_DIR}/tests/support/desktop_keeper.cpp)
if(PORDEX_RUNS_HERE)
    # The desktop is opened here, with no pipes, and stays open, so that no test's output pipe
    # is held by its shell (desktop_keeper.cpp).
    add_test(NAME wineserver.start COMMAND sh -c "(wineserver -p; ${PORDEX_WINE_RUN} $<TARGET_FILE:desktop_keeper>) </dev/null >/dev/null 2>&1; true")
    add_test(NAME wineserver.stop COMMAND sh -c "wineserver -k </dev/null >/dev/null 2>&1; true")
    set_tests_properties(wineserver.start PROPERTIES FIXTURES_SETUP WineServer)
    set_tests_properties(wineserver.stop PROPERTIES FIXTURES_CLEANUP WineServer)
    # wineserver itself must see the same prefix as the wrapper.
    set_tests_properties(wineserver.start wineserver.stop PROPERTIES
        ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
endif()

# pordex_add_gtest(NAME SOURCES... [LIBRARIES ...] [DIRECTORY dir] [LOCK resource] [TIMEOUT seconds])
# A GoogleTest executable whose cases become one CTest test each, all under the WineServer
# fixture; cases that share a LOCK never run at the same time.
function(pordex_add_gtest name)
    cmake_parse_arguments(ARG "" "DIRECTORY;LOCK;TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} gtest gtest_main)
    if(ARG_DIRECTORY)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${ARG_DIRECTORY})
    endif()
    # Listing the cases runs the program.
    if(NOT PORDEX_RUNS_HERE)
        return()
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    set(lock)
    if(ARG_LOCK)
        set(lock RESOURCE_LOCK ${ARG_LOCK})
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
        PROPERTIES FIXTURES_REQUIRED WineServer TIMEOUT ${ARG_TIMEOUT} ${lock})
endfunction()
