# Shared build settings of our own targets.

# Precompiled headers: the Qt, standard and (per target) GStreamer and GoogleTest headers that nearly every file of a
# target includes are parsed once per target instead of once per file.
option(PIXOLO_PCH "Precompile the headers most files include" ON)
set(PIXOLO_PCH_HEADERS
    <QtCore/QObject> <QtCore/QString> <QtCore/QByteArray> <QtCore/QList> <QtCore/QHash> <QtGui/QImage>
    <QtGui/QPainter> <QtWidgets/QWidget> <algorithm> <functional> <memory> <string> <vector>)
# pixolo_precompile(TARGET [HEADER...]): the common headers and the target's own.
function(pixolo_precompile target)
    if(PIXOLO_PCH)
        target_precompile_headers(${target} PRIVATE ${PIXOLO_PCH_HEADERS} ${ARGN})
    endif()
endfunction()

add_library(pixolo_options INTERFACE)
target_compile_options(pixolo_options INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(pixolo_options INTERFACE QT_NO_KEYWORDS)
target_include_directories(pixolo_options INTERFACE "${PROJECT_SOURCE_DIR}/src")
if(PIXOLO_SANITIZE)
    target_compile_options(pixolo_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                    -fno-sanitize-recover=undefined)
    target_link_options(pixolo_options INTERFACE -fsanitize=address,undefined)
    # Memory figures mean nothing where the sanitizer keeps freed blocks in quarantine: tests of them look here.
    target_compile_definitions(pixolo_options INTERFACE PIXOLO_SANITIZED=1)
    if(PIXOLO_BUILD_FUZZ)
        target_compile_options(pixolo_options INTERFACE -fsanitize=fuzzer-no-link)
    endif()
endif()
if(PIXOLO_TSAN)
    if(PIXOLO_SANITIZE)
        message(FATAL_ERROR "ThreadSanitizer and AddressSanitizer cannot share a build")
    endif()
    target_compile_options(pixolo_options INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(pixolo_options INTERFACE -fsanitize=thread)
endif()

# pixolo_add_library(NAME SOURCES... [LIBS libs...])
# One static library per subsystem folder; a folder without sources yet is an interface library so that
# the wiring of later work already stands.
function(pixolo_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    if(ARG_SOURCES)
        add_library(${name} STATIC ${ARG_SOURCES})
        target_link_libraries(${name} PUBLIC pixolo_options ${ARG_LIBS})
        pixolo_precompile(${name})
    else()
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE pixolo_options ${ARG_LIBS})
    endif()
endfunction()

# pixolo_add_test_suite(NAME SOURCES... LIBS... [LABEL unit|e2e] [TIMEOUT seconds])
# One GoogleTest executable per subsystem; every test case becomes a CTest test.
function(pixolo_add_test_suite name)
    cmake_parse_arguments(ARG "" "LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
    if(NOT ARG_LABEL)
        set(ARG_LABEL unit)
    endif()
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 120)
    endif()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE pixolo_options pixolo_test_support ${ARG_LIBS})
    pixolo_precompile(${name} <gtest/gtest.h> <QtTest/QTest>)
    # In a Debug build the tests' own code is not optimised (the code under test keeps the build's flags): the
    # sanitizer build of ./test.sh compiles them much sooner so.
    target_compile_options(${name} PRIVATE $<$<CONFIG:Debug>:-O0>)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
    # The test main sets QT_QPA_PLATFORM=offscreen and GST_PLUGIN_PATH (the project's plugins) when they are unset.
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT})
    # A unit suite also runs whole, in one process (label unit-suite): ./test.sh runs them so, as starting a process
    # for each case took longer than the cases.
    if(ARG_LABEL STREQUAL "unit")
        add_test(NAME "${name}" COMMAND ${name})
        set_tests_properties("${name}" PROPERTIES LABELS unit-suite TIMEOUT 900)
    endif()
endfunction()
