# Bitmaps, BMP and JPEG codecs, the picture holder and animation timing (pure).
find_package(ZLIB REQUIRED) # the hostile pictures deflate their rows
kelmor_test(imaging_raster_test
    SOURCES bmp_test.cpp jpeg_test.cpp picture_test.cpp picture_animation_test.cpp
        hostile_pictures.cpp
    LIBS kelmor_imaging ZLIB::ZLIB)

# The same codecs checked against Qt's readers, and the picture view.
kelmor_test(imaging_raster_qt_test QT
    SOURCES raster_qt_test.cpp picture_view_test.cpp
    LIBS kelmor_imaging_ui)
