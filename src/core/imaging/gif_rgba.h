#pragma once

// GIF frames made from RGBA pictures, which may hold transparency and any number of colours.

#include "imaging/gif_image.h"
#include "imaging/rgba_image.h"

#include <optional>

namespace kelmor {

// Where appendRgbaFrame put a frame, and the colour index its transparent pixels took.
struct RgbaFrameIndex {
    int frame = 0;
    std::optional<int> transparentIndex; // none when every pixel has alpha 128 or more
};

// How a picture of more colours than a table holds is reduced.
enum class ColourReduction {
    // The fixed 216-colour palette, each channel at level (v + 3) div 51, no dithering.
    WebLevels,
    // A palette of the picture's own (medianCutPalette) with error diffusion (ditherToPalette).
    MedianCut,
};

// Appends the picture as a new frame at 0, 0, growing the logical screen to hold it. Pixels with
// alpha below 128 take one transparent index. When the other pixels' colours fit beside it (255
// colours with transparent pixels, 256 without), the frame's local table holds exactly them in
// the order they first appear, after the transparent entry at index 0; otherwise it holds the
// palette of the reduction, and the transparent entry after it (at 216 for the fixed palette).
// The caller marks the transparent index in a graphic control extension.
RgbaFrameIndex appendRgbaFrame(GifImage& image, const RgbaImage& picture,
                               ColourReduction reduction = ColourReduction::WebLevels);

// A one-frame GIF of the picture: the frame appendRgbaFrame makes, and, when it has transparent
// pixels, a graphic control extension naming their index.
GifImage gifFromRgba(const RgbaImage& picture,
                     ColourReduction reduction = ColourReduction::WebLevels);

// The picture as a page of that colour shows it: every pixel with alpha above 0 blended onto the
// colour and made opaque, every pixel of alpha 0 left transparent black. A GIF of it keeps soft
// edges and shadows that its one transparent index would otherwise cut off.
RgbaImage onMatte(const RgbaImage& picture, Rgb matte);

} // namespace kelmor
