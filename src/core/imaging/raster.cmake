# The bitmap type, the BMP and JPEG codecs, the picture holder, its size reader and the timing
# and composition of GIF animations.
target_sources(kelmor_imaging PRIVATE bitmap.cpp bmp.cpp jpeg.cpp picture.cpp picture_animation.cpp
    picture_size.cpp)
target_link_libraries(kelmor_imaging PRIVATE JPEG::JPEG)
