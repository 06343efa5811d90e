#pragma once

// The baseline of the SVG benchmarks: librsvg alone drawing one document at its own size onto a
// fresh cairo surface, as a program calling the library directly would.

#include <benchmark/benchmark.h>
#include <cairo.h>
#include <cmath>
#include <librsvg/rsvg.h>
#include <string>

namespace kelmor::bench {

inline void renderWithLibrsvg(const std::string& svg) {
    RsvgHandle* handle =
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), nullptr);
    rsvg_handle_set_dpi(handle, 96);
    double width = 0, height = 0;
    rsvg_handle_get_intrinsic_size_in_pixels(handle, &width, &height);
    cairo_surface_t* surface = cairo_image_surface_create(
        CAIRO_FORMAT_ARGB32, int(std::ceil(width)), int(std::ceil(height)));
    cairo_t* cr = cairo_create(surface);
    const RsvgRectangle viewport{0, 0, width, height};
    rsvg_handle_render_document(handle, cr, &viewport, nullptr);
    cairo_surface_flush(surface);
    benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
}

} // namespace kelmor::bench
