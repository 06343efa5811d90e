# Helpers shared by every folder's CMakeLists.txt.

# Lists the sources of a pure C++ target, its source folder first, in
# BUILD/core-sources/NAME.txt: tools/check-core-includes.sh checks that none of
# them, nor a header they include, includes a Qt header.
function(kelmor_core_sources name)
    file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/core-sources/${name}.txt
         CONTENT "$<TARGET_PROPERTY:${name},SOURCE_DIR>\n$<JOIN:$<TARGET_PROPERTY:${name},SOURCES>,\n>\n")
endfunction()

# A pure C++ library of one subsystem: no Qt.
function(kelmor_core_library name)
    add_library(${name} STATIC ${ARGN})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC kelmor_base)
    kelmor_core_sources(${name})
endfunction()

# A Qt Widgets library of one subsystem.
function(kelmor_ui_library name)
    add_library(${name} STATIC ${ARGN})
    set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_compile_definitions(${name} PUBLIC QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII)
    target_link_libraries(${name} PUBLIC kelmor_base Qt6::Core Qt6::Gui Qt6::Widgets)
endfunction()

# A GoogleTest program registered with ctest.
#   kelmor_test(NAME SOURCES a.cpp b.cpp LIBS lib1 lib2 [QT] [ENVIRONMENT VAR=value ...])
# QT gives the program a QApplication (offscreen in tests) through the shared test main.
function(kelmor_test name)
    cmake_parse_arguments(T "QT" "" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${T_SOURCES})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/src)
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
    target_include_directories(${name}-bench PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
    target_link_libraries(${name}-bench PRIVATE ${B_LIBS} benchmark::benchmark)
endfunction()
