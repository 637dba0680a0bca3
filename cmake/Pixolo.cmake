# Shared build settings of our own targets.

add_library(pixolo_options INTERFACE)
target_compile_options(pixolo_options INTERFACE -Wall -Wextra -Werror)
target_compile_definitions(pixolo_options INTERFACE QT_NO_KEYWORDS)
target_include_directories(pixolo_options INTERFACE "${PROJECT_SOURCE_DIR}/src")
if(PIXOLO_SANITIZE)
    target_compile_options(pixolo_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                    -fno-sanitize-recover=undefined)
    target_link_options(pixolo_options INTERFACE -fsanitize=address,undefined)
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
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tests")
    # The test main sets QT_QPA_PLATFORM=offscreen and GST_PLUGIN_PATH (the project's plugins) when they are unset.
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${ARG_LABEL} TIMEOUT ${ARG_TIMEOUT})
endfunction()
