#pragma once

namespace kelmor::product {

inline constexpr const char* kName = "Kelmor";
inline constexpr const char* kVersion = "1.0";
// The maker's web address: shown by the About box and named in every generated page.
inline constexpr const char* kWebAddress = "https://www.kelmor.example";

} // namespace kelmor::product
