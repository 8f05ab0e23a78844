#pragma once
// The documents declare ISO-8859-1, so they are written in it. Texts inside
// the program are UTF-8; a character that ISO-8859-1 lacks (a diver's name in
// another script) must not turn the file into a mix of encodings.

#include <string>
#include <string_view>

namespace kv {

enum class EUnencodable {
  Question,            // "?" in its place
  CharacterReference,  // an HTML character reference "&#N;", which browsers show as the character
};

// The UTF-8 text as ISO-8859-1 bytes. Characters above U+00FF are replaced as
// asked; bytes that are not valid UTF-8 become "?" each.
std::string Utf8ToLatin1(std::string_view utf8, EUnencodable replacement = EUnencodable::Question);

// Writes an HTML document held in UTF-8 to path in ISO-8859-1, characters
// outside it as character references, atomically (plan/file_store.h). False
// when the file cannot be written; an existing file is then left as it was.
bool WriteHtmlDocument(const std::string& path, std::string_view utf8Document);

}  // namespace kv
