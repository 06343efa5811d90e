kelmor_test(generator_core_tests SOURCES page_writer_test.cpp cli_page_test.cpp
            LIBS kelmor_generator)
# The command-line tests run the built kelmor-cli.
add_dependencies(generator_core_tests kelmor-cli)
target_compile_definitions(generator_core_tests PRIVATE KELMOR_CLI="$<TARGET_FILE:kelmor-cli>")
