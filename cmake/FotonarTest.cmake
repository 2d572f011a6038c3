# fotonar_add_test(NAME SOURCES ... LIBRARIES ... [LABELS ...])
# Builds a QtTest executable and registers it with CTest. Every test runs on Qt's offscreen
# platform at a scale factor of 1, so no display is needed and pixel positions are fixed.
function(fotonar_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBRARIES;LABELS")
    qt_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBRARIES})
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QT_SCALE_FACTOR=1;QT_QPA_PLATFORMTHEME=;ASAN_OPTIONS=detect_leaks=0"
        LABELS "${ARG_LABELS}"
        TIMEOUT 300)
endfunction()
