#pragma once
// Text helpers that never depend on the user's locale: files, logs and reports
// always write and read a "." as the decimal point.

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// printf-style formatting into a std::string, always in the "C" numeric locale.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, std::va_list args);

// Reads a decimal number the way the planner's files and entry fields do:
// leading blanks, an optional sign, digits, an optional point and exponent;
// whatever follows is ignored. Returns false ("not readable") when no digit
// was consumed; the value is then 0. Values that overflow to infinity read as 0.
bool ReadNumber(std::string_view text, double& value);
// The number, or 0 when it cannot be read.
double ReadNumberOr0(std::string_view text);
// An integer read with the same rules (fraction truncated, clamped to int).
bool ReadInt(std::string_view text, int& value);
// Strict readers for fields that a program wrote as numbers: the whole text,
// blanks around it aside, must be one finite decimal number ("4O00.00",
// "nan", "1e999", "" and "12kg" are not), or for ReadWholeInt an optional
// sign and digits that fit an int. value is left unchanged on failure.
bool ReadWholeNumber(std::string_view text, double& value);
bool ReadWholeInt(std::string_view text, int& value);

// Splits a text at one separator character into fields numbered from 1.
class CSParser {
public:
  static constexpr const char* kOutOfRange = "ERROR: Array index out of range.";

  CSParser() = default;
  CSParser(std::string_view text, char separator);

  void Parse(std::string_view text, char separator);
  // Field n (from 1); a field past the last reads as kOutOfRange.
  std::string GetField(int n) const;
  int Count() const { return static_cast<int>(m_fields.size()); }

private:
  std::vector<std::string> m_fields;
};

std::string ToLower(std::string_view text);
// Lines of a text file's content, accepting CR LF and LF line ends.
std::vector<std::string> SplitLines(std::string_view content);

}  // namespace kv
