# The table of picture formats; the WebP and SVG readers and writers, checked against libwebp's
# tools (cwebp, dwebp, img2webp) and librsvg's rsvg-convert; the SVG renderer process against the
# drawing code it runs.
kelmor_test(imaging_websvg_test
    SOURCES webp_test.cpp svg_test.cpp svg_renderer_process_test.cpp hostile_pictures.cpp
        picture_codecs_test.cpp
    LIBS kelmor_svg_drawing)
