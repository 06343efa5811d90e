# The table of picture formats and each format's row, one codec file a format.
target_sources(kelmor_imaging PRIVATE picture_codecs.cpp codec_gif.cpp codec_bmp.cpp
    picture_title.cpp xml_text.cpp gif_comment.cpp
    codec_jpeg.cpp codec_icon.cpp codec_png.cpp codec_webp.cpp codec_svg.cpp)
