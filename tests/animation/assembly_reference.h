#pragma once

// An independent model of the animation assembly and of the GIF bytes it
// leads to, written from the rules alone: it shares no code with the
// program's GIF image, optimiser or writer. Frames are read from the source
// bitmaps' pixels and palettes.

#include "imaging/bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelmor::test {

struct ReferenceOptions {
    int loop = 0;
    int delay = 30;
    bool crop = false, merge = false, palette = false;
};

// The file the assembly of these bitmaps, in order, with these options must give.
std::string referenceAnimation(const std::vector<Bitmap>& frames, const ReferenceOptions& options);

} // namespace kelmor::test
