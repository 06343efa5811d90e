# Bitmaps, BMP and JPEG codecs, the picture holder and animation timing (pure).
kelmor_test(imaging_raster_test
    SOURCES bmp_test.cpp
    LIBS kelmor_imaging)
