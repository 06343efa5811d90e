# The PNG and WebP readers and writers, on libspng and libwebp, and the RGBA pixel form they
# share with SVG.
pkg_check_modules(SPNG REQUIRED IMPORTED_TARGET spng)
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebp libwebpmux libwebpdemux)
find_package(ZLIB REQUIRED) # CRC-32, to check a PNG's chunks without decoding it
target_sources(kelmor_imaging PRIVATE rgba_image.cpp png.cpp webp.cpp)
target_link_libraries(kelmor_imaging PRIVATE PkgConfig::SPNG PkgConfig::WEBP ZLIB::ZLIB)

# SVG files from outside are drawn in the renderer process (svg_renderer_process).
target_sources(kelmor_imaging PRIVATE svg_renderer_process.cpp)
set_source_files_properties(svg_renderer_process.cpp PROPERTIES
    COMPILE_DEFINITIONS KELMOR_SVG_RENDERER_FROM_PROGRAM="${KELMOR_HELPER_FROM_PROGRAM}")

# Drawing SVG through librsvg (svg), and the renderer process's side (svg_render_service), which
# kelmor-svg-render runs: a library of their own, as the window draws no SVG itself at start and
# so does not load librsvg then (the button drawing module brings it on first use).
pkg_check_modules(RSVG REQUIRED IMPORTED_TARGET librsvg-2.0)
kelmor_core_library(kelmor_svg_drawing svg.cpp svg_render_service.cpp)
target_link_libraries(kelmor_svg_drawing PUBLIC kelmor_imaging PRIVATE PkgConfig::RSVG)
