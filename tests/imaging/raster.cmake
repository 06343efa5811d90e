# Bitmaps, BMP and JPEG codecs, the picture holder and animation timing (pure).
kelmor_test(imaging_raster_test
    SOURCES bmp_test.cpp jpeg_test.cpp picture_test.cpp picture_animation_test.cpp
    LIBS kelmor_imaging)

# The same codecs checked against Qt's readers, and the picture view.
kelmor_test(imaging_raster_qt_test QT
    SOURCES raster_qt_test.cpp picture_view_test.cpp
    LIBS kelmor_imaging_ui)

# kelmor-cli info and resave, run as the built program.
kelmor_test(imaging_cli_picture_test
    SOURCES cli_picture_test.cpp
    LIBS kelmor_imaging)
target_compile_definitions(imaging_cli_picture_test PRIVATE KELMOR_CLI="$<TARGET_FILE:kelmor-cli>")
add_dependencies(imaging_cli_picture_test kelmor-cli)
