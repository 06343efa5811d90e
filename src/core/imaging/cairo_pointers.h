#pragma once

// Owning pointers for the GLib and cairo objects the SVG renderer and the button pictures use.

#include <cairo.h>
#include <glib-object.h>
#include <memory>

namespace kelmor {

struct GObjectUnref {
    void operator()(void* object) const { g_object_unref(object); }
};
struct CairoSurfaceDestroy {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct CairoDestroy {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};

using CairoSurfacePointer = std::unique_ptr<cairo_surface_t, CairoSurfaceDestroy>;
using CairoPointer = std::unique_ptr<cairo_t, CairoDestroy>;

} // namespace kelmor
