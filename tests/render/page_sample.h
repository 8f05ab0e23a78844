#pragma once
// What the rendering check counts on a printed page: pixels of row shading
// (gainsboro) and of red warning text. Prints "gainsboro N red M".

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace kv::test {

// Reads one whitespace-separated header token of a binary PPM, skipping comments.
inline bool Token(std::istream& in, std::string& token) {
  token.clear();
  char c;
  while (in.get(c)) {
    if (c == '#') {
      while (in.get(c) && c != '\n') {
      }
      continue;
    }
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      if (!token.empty()) return true;
      continue;
    }
    token += c;
  }
  return !token.empty();
}

inline int SamplePage(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic, w, h, max;
  if (!Token(in, magic) || magic != "P6" || !Token(in, w) || !Token(in, h) || !Token(in, max) || max != "255") {
    std::fprintf(stderr, "%s: not a binary 8-bit PPM\n", path);
    return 1;
  }
  const long pixels = std::atol(w.c_str()) * std::atol(h.c_str());
  std::vector<unsigned char> rgb(static_cast<std::size_t>(pixels) * 3);
  if (!in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()))) {
    std::fprintf(stderr, "%s: short pixel data\n", path);
    return 1;
  }
  long shaded = 0, red = 0;
  for (long i = 0; i < pixels; ++i) {
    const int r = rgb[static_cast<std::size_t>(i) * 3];
    const int g = rgb[static_cast<std::size_t>(i) * 3 + 1];
    const int b = rgb[static_cast<std::size_t>(i) * 3 + 2];
    // gainsboro is #DCDCDC; red text is #FF0000, softened at glyph edges.
    if (std::abs(r - 220) <= 3 && std::abs(g - 220) <= 3 && std::abs(b - 220) <= 3) ++shaded;
    if (r >= 200 && g <= 90 && b <= 90) ++red;
  }
  std::printf("gainsboro %ld red %ld\n", shaded, red);
  return 0;
}

}  // namespace kv::test
