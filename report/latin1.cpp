#include "report/latin1.h"

#include "base/text.h"
#include "plan/file_store.h"

namespace kv {
namespace {

// The code point of the UTF-8 sequence at text[i], advancing i past it; -1
// (advancing one byte) for a byte that does not start a valid sequence.
long Decode(std::string_view text, std::size_t& i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    ++i;
    return lead;
  }
  int length;
  long code;
  long minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, code = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, code = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, code = lead & 0x07, minimum = 0x10000;
  } else {
    ++i;
    return -1;
  }
  if (i + static_cast<std::size_t>(length) > text.size()) {
    ++i;
    return -1;
  }
  for (int k = 1; k < length; ++k) {
    const unsigned char next = byte(i + static_cast<std::size_t>(k));
    if ((next & 0xC0) != 0x80) {
      ++i;
      return -1;
    }
    code = (code << 6) | (next & 0x3F);
  }
  // Overlong forms, surrogates and values past Unicode are not characters.
  if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
    ++i;
    return -1;
  }
  i += static_cast<std::size_t>(length);
  return code;
}

}  // namespace

std::string Utf8ToLatin1(std::string_view utf8, EUnencodable replacement) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    const long code = Decode(utf8, i);
    if (code >= 0 && code <= 0xFF)
      out += static_cast<char>(static_cast<unsigned char>(code));
    else if (code > 0xFF && replacement == EUnencodable::CharacterReference)
      out += Format("&#%ld;", code);
    else
      out += '?';
  }
  return out;
}

bool WriteHtmlDocument(const std::string& path, std::string_view utf8Document) {
  // The same atomic save as the plan files: a full disk or a failed write
  // leaves the document the user had, never a truncated one.
  return FileStore().Write(path, Utf8ToLatin1(utf8Document, EUnencodable::CharacterReference));
}

}  // namespace kv
