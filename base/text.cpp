#include "base/text.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace kv {
namespace {

locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

// Switches the calling thread to the C locale for the lifetime of the object.
class CLocaleScope {
public:
  CLocaleScope() : m_previous(uselocale(CLocale())) {}
  ~CLocaleScope() { uselocale(m_previous); }
  CLocaleScope(const CLocaleScope&) = delete;
  CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
  locale_t m_previous;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix that forms a decimal number, or 0 when none.
std::size_t NumberPrefix(std::string_view t, bool allowFraction, bool& hasDigits) {
  std::size_t i = 0;
  hasDigits = false;
  while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n' || t[i] == '\r' ||
                          t[i] == '\v' || t[i] == '\f'))
    ++i;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
  while (i < t.size() && IsDigit(t[i])) {
    ++i;
    hasDigits = true;
  }
  if (allowFraction && i < t.size() && t[i] == '.') {
    std::size_t j = i + 1;
    bool fractionDigits = false;
    while (j < t.size() && IsDigit(t[j])) {
      ++j;
      fractionDigits = true;
    }
    if (hasDigits || fractionDigits) {
      i = j;
      hasDigits = true;
    }
  }
  if (!hasDigits) return 0;
  if (allowFraction && i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) ++j;
    if (j < t.size() && IsDigit(t[j])) {
      while (j < t.size() && IsDigit(t[j])) ++j;
      i = j;
    }
  }
  return i;
}

}  // namespace

std::string FormatV(const char* format, std::va_list args) {
  if (format == nullptr) return {};
  CLocaleScope scope;
  char small[512];
  std::va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(small, sizeof small, format, copy);
  va_end(copy);
  if (n < 0) return {};
  if (static_cast<std::size_t>(n) < sizeof small) return std::string(small, static_cast<std::size_t>(n));
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::vsnprintf(out.data(), out.size(), format, args);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string Format(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string s = FormatV(format, args);
  va_end(args);
  return s;
}

bool ReadNumber(std::string_view text, double& value) {
  value = 0.0;
  bool hasDigits = false;
  std::size_t len = NumberPrefix(text, true, hasDigits);
  if (!hasDigits) return false;
  std::string prefix(text.substr(0, len));
  double v = strtod_l(prefix.c_str(), nullptr, CLocale());
  value = std::isfinite(v) ? v : 0.0;
  return true;
}

double ReadNumberOr0(std::string_view text) {
  double v = 0;
  ReadNumber(text, v);
  return v;
}

bool ReadInt(std::string_view text, int& value) {
  double v = 0;
  bool ok = ReadNumber(text, v);
  v = std::trunc(v);
  if (v > std::numeric_limits<int>::max()) v = std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) v = std::numeric_limits<int>::min();
  value = static_cast<int>(v);
  return ok;
}

namespace {
std::string_view TrimBlanks(std::string_view t) {
  while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
  while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
  return t;
}
}  // namespace

bool ReadWholeNumber(std::string_view text, double& value) {
  text = TrimBlanks(text);
  bool hasDigits = false;
  if (NumberPrefix(text, true, hasDigits) != text.size() || !hasDigits) return false;
  const std::string copy(text);
  const double v = strtod_l(copy.c_str(), nullptr, CLocale());
  if (!std::isfinite(v)) return false;
  value = v == 0.0 ? 0.0 : v;
  return true;
}

bool ReadWholeInt(std::string_view text, int& value) {
  text = TrimBlanks(text);
  std::size_t i = text.empty() || (text[0] != '+' && text[0] != '-') ? 0 : 1;
  if (i == text.size()) return false;
  long long v = 0;
  for (std::size_t j = i; j < text.size(); ++j) {
    if (!IsDigit(text[j])) return false;
    v = v * 10 + (text[j] - '0');
    if (v > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return false;
  }
  if (text[0] == '-') v = -v;
  if (v > std::numeric_limits<int>::max() || v < std::numeric_limits<int>::min()) return false;
  value = static_cast<int>(v);
  return true;
}

CSParser::CSParser(std::string_view text, char separator) { Parse(text, separator); }

void CSParser::Parse(std::string_view text, char separator) {
  m_fields.clear();
  std::size_t start = 0;
  while (true) {
    std::size_t pos = text.find(separator, start);
    if (pos == std::string_view::npos) {
      m_fields.emplace_back(text.substr(start));
      break;
    }
    m_fields.emplace_back(text.substr(start, pos - start));
    start = pos + 1;
  }
}

std::string CSParser::GetField(int n) const {
  if (n < 1 || n > Count()) return kOutOfRange;
  return m_fields[static_cast<std::size_t>(n - 1)];
}

std::string ToLower(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::vector<std::string> SplitLines(std::string_view content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t pos = content.find('\n', start);
    std::size_t end = pos == std::string_view::npos ? content.size() : pos;
    std::size_t lineEnd = end;
    if (lineEnd > start && content[lineEnd - 1] == '\r') --lineEnd;
    lines.emplace_back(content.substr(start, lineEnd - start));
    if (pos == std::string_view::npos) break;
    start = pos + 1;
  }
  return lines;
}

}  // namespace kv
