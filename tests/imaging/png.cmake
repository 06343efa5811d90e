# The PNG codec: files of known pixels made with zlib, damaged files, the writer's layouts, and
# the same files against Qt's reader.
find_package(ZLIB REQUIRED)
kelmor_test(imaging_png_test
    SOURCES png_test.cpp png_files.cpp
    LIBS kelmor_imaging ZLIB::ZLIB)
kelmor_test(imaging_png_qt_test QT
    SOURCES png_qt_test.cpp png_files.cpp
    LIBS kelmor_imaging Qt6::Gui ZLIB::ZLIB)
# The titles of pictures of every format, PNG text chunks made as the tests above make them.
kelmor_test(imaging_title_test
    SOURCES picture_title_test.cpp png_files.cpp
    LIBS kelmor_imaging ZLIB::ZLIB)
