# GIF image services: LZW coder, encoder, decoder, the image, palette work, frame optimisation,
# bitmap conversion, colour reduction, and the corpus files compared with giflib.
find_library(GIF_LIB gif REQUIRED)
kelmor_test(gif_tests
    SOURCES gif_test_support.cpp gif_lzw_test.cpp gif_encode_test.cpp gif_decode_test.cpp
            gif_image_test.cpp gif_palette_test.cpp gif_frame_optimise_test.cpp
            gif_bitmap_test.cpp gif_rgba_test.cpp gif_quantise_test.cpp gif_corpus_test.cpp
    LIBS kelmor_imaging ${GIF_LIB})
