#pragma once
// Text typed by the user (a diver's name, table notes) placed into the HTML
// documents as text: "Keep ppO2 <1.4" must print as typed, not vanish as a tag.

#include <string>

namespace kv {

// "&", "<", ">" and '"' as entities.
std::string HtmlEscaped(const std::string& text);
// The entities HtmlEscaped writes back into their characters; any other text,
// tags and unknown entities included, stays as it is.
std::string HtmlUnescaped(const std::string& html);

}  // namespace kv
