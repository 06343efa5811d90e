#pragma once

// The icon row's reader: the core has none, the Qt layer installs one.

#include "imaging/bitmap.h"

#include <functional>
#include <string_view>

namespace kelmor {

using IconDecoder = std::function<Bitmap(std::string_view bytes)>;

void installIconDecoder(IconDecoder decoder);
bool iconDecoderInstalled();

} // namespace kelmor
