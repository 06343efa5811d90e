# WebP and SVG readers and writers, checked against libwebp's tools (cwebp, dwebp, img2webp)
# and librsvg's rsvg-convert.
kelmor_test(imaging_websvg_test
    SOURCES webp_test.cpp svg_test.cpp
    LIBS kelmor_imaging)
