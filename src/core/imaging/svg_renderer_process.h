#pragma once

// SVG files drawn apart: a document the program did not make itself is measured and drawn by
// kelmor-svg-render, a small process of the program's own running the drawing code of svg.h
// under limits on address space and CPU time, with a timeout on its answer. A library crash or a
// runaway document then costs that process, never the caller. Processes are kept and reused
// between documents (and threads), and replaced after a failure.
//
// Each function gives what its in-process counterpart in svg.h gives, with the same messages.
// A renderer that crashes, passes a limit or does not answer in time gives "SVG image is not
// valid: FILE"; the memory limit refusing the picture "Image too large". `file` is the name the
// caller shows for the document.

#include "base/error.h"
#include "imaging/image_limits.h"
#include "imaging/picture_size.h"
#include "imaging/rgba_image.h"

#include <string>
#include <string_view>

namespace kelmor {

// "Cannot start the SVG renderer PATH": the renderer program is missing or cannot run, a fault of
// the installation rather than of the document.
class SvgRendererMissing : public Error {
public:
    using Error::Error;
};

RgbaImage renderSvgApart(std::string_view bytes, const std::string& file,
                         const ImageLimits& limits = {});
RgbaImage renderSvgFittedApart(std::string_view bytes, const std::string& file, int edge,
                               PictureSize* intrinsic = nullptr);
PictureFileSize measureSvgApart(std::string_view bytes, const std::string& file);

// Where the renderer program is: $KELMOR_SVG_RENDERER when set, else beside the running
// program, else in the folder it is installed into relative to the program. Empty when none of
// them holds it.
std::string svgRendererProgram();

} // namespace kelmor
