kelmor_test(generator_core_tests SOURCES page_writer_test.cpp page_kinds_test.cpp page_target_test.cpp
    LIBS kelmor_generator)
