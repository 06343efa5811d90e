# The GIF image, its decoder, encoder, LZW coder, palette work, colour reduction, frame
# optimisation and bitmap and RGBA conversion.
target_sources(kelmor_imaging PRIVATE gif_image.cpp gif_decode.cpp gif_encode.cpp gif_lzw.cpp
                                      gif_palette.cpp gif_frame_optimise.cpp gif_bitmap.cpp
                                      gif_rgba.cpp gif_quantise.cpp)
