# Leak reports would come from Qt's and fontconfig's process-lifetime caches; the memory test
# measures the program's own growth instead.
set(FOTONAR_TEST_ASAN_OPTIONS "ASAN_OPTIONS=detect_leaks=0")

# fotonar_add_test(NAME SOURCES ... LIBRARIES ... [LABELS ...] [SCALES 1.25 ...])
# Builds a QtTest executable and registers it with CTest. Every test runs on Qt's offscreen
# platform, so no display is needed, at a scale factor of 1 so pixel positions are fixed; with
# SCALES it is registered once for each scale factor instead (NAME_1.25, ...).
function(fotonar_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBRARIES;LABELS;SCALES")
    qt_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    if(NOT ARG_SCALES)
        set(ARG_SCALES 1)
        set(suffixed OFF)
    else()
        set(suffixed ON)
    endif()
    foreach(scale IN LISTS ARG_SCALES)
        set(test ${name})
        if(suffixed)
            set(test ${name}_${scale})
        endif()
        add_test(NAME ${test} COMMAND ${name})
        set_tests_properties(${test} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=${scale};QT_QPA_PLATFORMTHEME=;${FOTONAR_TEST_ASAN_OPTIONS}"
            LABELS "${ARG_LABELS}"
            TIMEOUT 300)
    endforeach()
endfunction()

# fotonar_add_e2e_test(NAME): tests/e2e/NAME.sh against the real program on a private X server.
# They run alone: their timing ratios should not compete with other tests for the CPU. Their own
# deadlines say what failed; the timeout only stops one that hangs, and lies beyond them even on
# a busy machine, where the queued-Start test's four slow runs under Wine take about five minutes.
set(FOTONAR_E2E_TIMEOUT 1200)
function(fotonar_add_e2e_test name)
    add_test(NAME e2e_${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${name}.sh)
    set_tests_properties(e2e_${name} PROPERTIES
        ENVIRONMENT "FOTONAR=$<TARGET_FILE:fotonar>;${FOTONAR_TEST_ASAN_OPTIONS}"
        LABELS e2e
        SKIP_RETURN_CODE 77
        RUN_SERIAL TRUE
        TIMEOUT ${FOTONAR_E2E_TIMEOUT})
endfunction()

# fotonar_add_wine_test(NAME): tests/e2e/NAME.sh against fotonar.exe under Wine, in the prefix
# that the wine_prefix test makes. fotonar.exe comes from `make windows`; without it they skip.
set(FOTONAR_WINDOWS_EXE ${PROJECT_SOURCE_DIR}/build-windows/fotonar.exe
    CACHE FILEPATH "fotonar.exe for the tests under Wine")
function(fotonar_add_wine_test name)
    add_test(NAME e2e_${name} COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/e2e/${name}.sh)
    set_tests_properties(e2e_${name} PROPERTIES
        ENVIRONMENT "FOTONAR=$<TARGET_FILE:fotonar>;FOTONAR_EXE=${FOTONAR_WINDOWS_EXE};WINEPREFIX=${CMAKE_CURRENT_BINARY_DIR}/wineprefix;${FOTONAR_TEST_ASAN_OPTIONS}"
        LABELS "e2e;wine"
        SKIP_RETURN_CODE 77
        RUN_SERIAL TRUE
        TIMEOUT ${FOTONAR_E2E_TIMEOUT})
    if(name STREQUAL "wine_prefix")
        set_tests_properties(e2e_${name} PROPERTIES FIXTURES_SETUP wine)
    else()
        set_tests_properties(e2e_${name} PROPERTIES FIXTURES_REQUIRED wine)
    endif()
endfunction()
