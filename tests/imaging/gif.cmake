# GIF image services: LZW coder, writer, reader, image operations, and the
# corpus files compared with giflib.
find_library(GIF_LIB gif REQUIRED)
kelmor_test(gif_tests
    SOURCES gif_test_support.cpp gif_lzw_test.cpp gif_writer_test.cpp gif_reader_test.cpp
            gif_image_test.cpp gif_corpus_test.cpp
    LIBS kelmor_imaging ${GIF_LIB})
