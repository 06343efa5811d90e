# The PNG, WebP and SVG readers and writers, on libspng, libwebp and librsvg, and the RGBA
# pixel form they share.
pkg_check_modules(SPNG REQUIRED IMPORTED_TARGET spng)
pkg_check_modules(WEBP REQUIRED IMPORTED_TARGET libwebp libwebpmux libwebpdemux)
pkg_check_modules(RSVG REQUIRED IMPORTED_TARGET librsvg-2.0)
find_package(ZLIB REQUIRED) # CRC-32, to check a PNG's chunks without decoding it
target_sources(kelmor_imaging PRIVATE rgba_image.cpp png.cpp webp.cpp svg.cpp)
target_link_libraries(kelmor_imaging PRIVATE PkgConfig::SPNG PkgConfig::WEBP PkgConfig::RSVG
    ZLIB::ZLIB)

# SVG files from outside drawn in the renderer process (svg_renderer_process), and that
# process's side (svg_render_service), which kelmor-svg-render runs.
target_sources(kelmor_imaging PRIVATE svg_renderer_process.cpp svg_render_service.cpp)
set_source_files_properties(svg_renderer_process.cpp PROPERTIES
    COMPILE_DEFINITIONS KELMOR_SVG_RENDERER_FROM_PROGRAM="${KELMOR_HELPER_FROM_PROGRAM}")
