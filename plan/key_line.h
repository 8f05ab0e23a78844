#pragma once
// Lines of the planner's text files ("Dive Plan", "Dive", "021~1000.00").
// Key lines are split at "~" into fields numbered from 1, like CSParser, but
// only the first fields are kept as views: a hostile line of millions of
// separators costs no memory.

#include <array>
#include <string>
#include <string_view>

namespace kv {

struct SValueRange;

class CKeyLine {
public:
  static constexpr int kKeptFields = 9;

  explicit CKeyLine(std::string_view line);
  int Count() const { return m_count; }
  // Field n (from 1); past the last one it reads as CSParser's out-of-range text.
  std::string_view Field(int n) const;
  // The key number: field 1 read as a plain decimal integer (0 when unreadable).
  int Key() const;

  int Int(int n) const;
  double Double(int n) const;
  // Set only when the field reads as exactly 1.
  bool Flag(int n) const { return Int(n) == 1; }

private:
  std::array<std::string_view, kKeptFields> m_fields{};
  int m_count = 0;
};

// Key lines as the writers produce them, each ending with CR LF.
std::string KeyLineInt(int key, int value);
std::string KeyLineDouble(int key, double value);
// A text cannot hold a line break: one would end the line and start a forged
// key line, so breaks are written as blanks.
std::string KeyLineText(int key, std::string_view text);

inline constexpr const char* kLineEnd = "\r\n";

// The content without a UTF-8 byte order mark at its start: editors that add
// one must not make a file unreadable.
std::string_view SkipByteOrderMark(std::string_view content);
// A text from a file as a message shows it: in quotes, control bytes and NULs
// as \xNN, cut after 40 bytes.
std::string QuotedText(std::string_view text);

// ---- Checking a line before it is applied (the ranges: base/value_ranges.h) ----

// Reads field n of a line written with "%d" (integer) or "%0.2f"; on failure
// why says so ("what: "4O" is not a number"). An integer field may be written
// "1.0", but not "1.5", which the program would take as 1.
bool ReadKeyField(const CKeyLine& line, int n, bool integer, const std::string& what, double& value,
                  std::string& why);
// Empty when field n reads and lies within range, else why not.
std::string CheckKeyField(const CKeyLine& line, int n, bool integer, const SValueRange& range,
                          const std::string& what);
// A number as the file gives it, for messages: reformatting could make a
// refused 50.364 read as an allowed 50.36.
std::string ShownField(std::string_view field);
// The gas of a point or gas switch line (oxygen and helium fields, both read
// already) and its setpoint: empty when the gas is valid and the setpoint
// one the pages allow, else why not. An open-circuit line keeps a setpoint
// it does not use, which still may not exceed what the page allows.
std::string CheckGasFields(const CKeyLine& line, int oxygenField, int heliumField, bool closedCircuit,
                           int setpointField, const std::string& what, const std::string& setpointWhat);
std::string CheckSetpointField(const CKeyLine& line, int n, bool closedCircuit, const std::string& what);

}  // namespace kv
