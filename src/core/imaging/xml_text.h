#pragma once

// Text read out of XML documents (an SVG's title, a WebP's XMP packet) by a light scan, without
// a parser: the pictures' titles need no more than one element's text.

#include <optional>
#include <string>
#include <string_view>

namespace kelmor {

// The element text with its character references decoded (&amp; &lt; &gt; &quot; &apos; &#N;
// &#xN;), CDATA sections taken as they are, markup inside dropped and the blanks around it
// trimmed. Nothing for a reference that names no character, for text that is not UTF-8 and for
// text that is empty once trimmed.
std::optional<std::string> decodeXmlText(std::string_view text);

// The content, markup and all, of the first element named `name` that is a child of the
// document's root element, itself named `root`; nothing when there is none. `root` empty: the
// first element named `name` anywhere. A name without a prefix matches any prefix ("title"
// matches "svg:title"); one with a prefix matches only itself ("dc:title").
std::optional<std::string_view> xmlElementContent(std::string_view document, std::string_view root,
                                                  std::string_view name);

// That element's text, as decodeXmlText gives it.
std::optional<std::string> xmlChildText(std::string_view document, std::string_view root,
                                        std::string_view name);

} // namespace kelmor
