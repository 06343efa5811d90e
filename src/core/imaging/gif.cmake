# The GIF image, its reader, writer, LZW coder and optimiser.
target_sources(kelmor_imaging PRIVATE gif_image.cpp gif_lzw.cpp gif_reader.cpp gif_writer.cpp)
