#pragma once

// The one key of the preference file that the Options dialog does not own: the Page tab's
// "HTML5 page" choice. Pure C++, no Qt.

#include <string>

namespace kelmor {

// "1" when ticked, "0" when not; a missing key, or a value that is no integer, reads as not
// ticked.
bool loadHtml5Page(const std::string& configDir);

// Writes the key at once, keeping every other key of the file; throws "Unable to write to PATH".
void saveHtml5Page(const std::string& configDir, bool ticked);

} // namespace kelmor
