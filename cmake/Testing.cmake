find_package(GTest REQUIRED)
include(GoogleTest)

# The sanitizer build ignores what fontconfig keeps for the process's life. A property of
# its own: the discovery script would split a second variable off ENVIRONMENT.
set(TAMRIVO_LEAK_SUPPRESSIONS "LSAN_OPTIONS=set:suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")

# tamrivo_add_test(NAME name SOURCES ... LIBS ... [LABELS ...]): one GoogleTest executable,
# its cases registered one by one with CTest. Every test sees the GBK-aware printer.
function(tamrivo_add_test)
    cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS;ENVIRONMENT;LABELS" ${ARGN})
    set(labels)
    if(ARG_LABELS)
        set(labels LABELS "${ARG_LABELS}")
    endif()
    add_executable(${ARG_NAME} ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} tamrivo_test_support GTest::gmock GTest::gtest_main)
    target_compile_options(${ARG_NAME} PRIVATE
        -include ${PROJECT_SOURCE_DIR}/tests/support/gbk_printer.h)
    gtest_discover_tests(${ARG_NAME}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENVIRONMENT}"
                   ENVIRONMENT_MODIFICATION "${TAMRIVO_LEAK_SUPPRESSIONS}"
                   ${labels})
endfunction()
