# What the tests and benchmarks need, included only when BUILD_TESTING is on: GoogleTest,
# Qt Test, Google Benchmark and the helpers that define their programs.
find_package(Qt6 REQUIRED COMPONENTS Test)
find_package(GTest REQUIRED)
include(GoogleTest)
find_package(benchmark REQUIRED)

# Test and benchmark programs live away from the programs' folder: they draw SVG files with the
# renderer of this build (tests/support/svg_renderer_location.cpp).
function(kelmor_uses_built_svg_renderer name)
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/support/svg_renderer_location.cpp)
    target_compile_definitions(${name} PRIVATE
        KELMOR_BUILT_SVG_RENDERER="$<TARGET_FILE:kelmor-svg-render>")
    add_dependencies(${name} kelmor-svg-render)
endfunction()

# A GoogleTest program registered with ctest.
#   kelmor_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [QT] [ENVIRONMENT VAR=value ...])
# QT gives the program a QApplication (offscreen in tests) through the shared test main.
function(kelmor_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    kelmor_uses_built_svg_renderer(${name})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${name} PRIVATE KELMOR_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    if(T_QT)
        set_target_properties(${name} PROPERTIES AUTOMOC ON)
        target_link_libraries(${name} PRIVATE ${T_LIBS} kelmor_test_support_qt GTest::gtest GTest::gmock)
    else()
        target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    endif()
    if(T_ENVIRONMENT)
        # Discovered tests cannot carry a list of variables: run the program as one test.
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES
            ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${T_ENVIRONMENT}")
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 NO_PRETTY_VALUES PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()
endfunction()

# A Google Benchmark program; `make bench` runs every one of them.
function(kelmor_bench name)
    cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name}-bench ${B_SOURCES})
    kelmor_uses_built_svg_renderer(${name}-bench)
    target_include_directories(${name}-bench PRIVATE ${PROJECT_SOURCE_DIR}/bench)
    target_link_libraries(${name}-bench PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()
