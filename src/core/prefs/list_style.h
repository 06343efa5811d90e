#pragma once

namespace kelmor {

// The looks of a file list: large icons or small icons, which every list offers, or the
// pictures' thumbnails, which only picture lists offer.
enum class ListStyle { Large, Small, Thumbnails };

} // namespace kelmor
