#pragma once

namespace kelmor {

// The two looks of every file list: large icons or small icons.
enum class ListStyle { Large, Small };

} // namespace kelmor
