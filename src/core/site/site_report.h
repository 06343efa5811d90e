#pragma once

// The report of a site update, as kelmor-cli prints it and a window lists it. Pure C++.

#include "site/site_update.h"

#include <span>
#include <string>
#include <vector>

namespace kelmor {

// "blog/a.html: updated", "...: unchanged", "...: no markers", or a refused page's message.
// The path is shown as messages show a value, control characters escaped.
std::string outcomeLine(const PageOutcome& outcome);

// "3 updated, 1 unchanged, 2 without markers, 1 refused", every count given, zero too.
std::string countLine(std::span<const PageOutcome> outcomes);

// Every outcome's line, then the count line.
std::vector<std::string> reportLines(std::span<const PageOutcome> outcomes);

} // namespace kelmor
