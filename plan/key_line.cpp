#include "plan/key_line.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "base/text.h"
#include "base/value_ranges.h"

namespace kv {

CKeyLine::CKeyLine(std::string_view line) {
  std::size_t start = 0;
  while (true) {
    const std::size_t pos = line.find('~', start);
    const std::size_t end = pos == std::string_view::npos ? line.size() : pos;
    if (m_count < kKeptFields) m_fields[static_cast<std::size_t>(m_count)] = line.substr(start, end - start);
    ++m_count;
    if (pos == std::string_view::npos) break;
    start = pos + 1;
  }
}

std::string_view CKeyLine::Field(int n) const {
  if (n < 1 || n > m_count || n > kKeptFields) return CSParser::kOutOfRange;
  return m_fields[static_cast<std::size_t>(n - 1)];
}

int CKeyLine::Key() const { return Int(1); }

int CKeyLine::Int(int n) const {
  int v = 0;
  ReadInt(Field(n), v);
  return v;
}

double CKeyLine::Double(int n) const {
  double v = ReadNumberOr0(Field(n));
  // "-0" is read as 0, so that it is written back as "0.00".
  return v == 0.0 ? 0.0 : v;
}

std::string KeyLineInt(int key, int value) { return Format("%03d~%d", key, value) + kLineEnd; }

std::string KeyLineDouble(int key, double value) {
  // A value that rounds to zero is written without a minus sign.
  if (std::fabs(value) < 0.005) value = 0.0;
  return Format("%03d~%0.2f", key, value) + kLineEnd;
}

std::string KeyLineText(int key, std::string_view text) {
  // Built by concatenation rather than "%s", so that a NUL inside the text
  // does not cut it short.
  std::string line = Format("%03d~", key);
  line.reserve(line.size() + text.size() + 2);
  for (char c : text) line.push_back(c == '\r' || c == '\n' ? ' ' : c);
  line += kLineEnd;
  return line;
}

std::string_view SkipByteOrderMark(std::string_view content) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (content.substr(0, kBom.size()) == kBom) content.remove_prefix(kBom.size());
  return content;
}

std::string QuotedText(std::string_view text) {
  // Cut on a character boundary, so the message stays valid UTF-8.
  std::size_t shown = std::min<std::size_t>(text.size(), 40);
  while (shown > 0 && shown < text.size() && (static_cast<unsigned char>(text[shown]) & 0xC0) == 0x80) --shown;
  std::string out = "\"";
  for (std::size_t i = 0; i < shown; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F)
      out += Format("\\x%02X", c);
    else
      out += static_cast<char>(c);
  }
  out += shown < text.size() ? "...\"" : "\"";
  return out;
}

bool ReadKeyField(const CKeyLine& line, int n, bool integer, const std::string& what, double& value,
                  std::string& why) {
  const std::string_view field = line.Field(n);
  double v = 0.0;
  if (!ReadWholeNumber(field, v)) {
    why = what + ": " + QuotedText(field) + " is not a number";
    return false;
  }
  if (integer && (v != std::trunc(v) || v < INT_MIN || v > INT_MAX)) {
    why = what + ": " + QuotedText(field) + " is not a whole number";
    return false;
  }
  value = v;
  return true;
}

std::string ShownField(std::string_view field) {
  while (!field.empty() && (field.front() == ' ' || field.front() == '\t')) field.remove_prefix(1);
  while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
  return field.size() > 40 ? std::string(field.substr(0, 40)) + "..." : std::string(field);
}

std::string CheckKeyField(const CKeyLine& line, int n, bool integer, const SValueRange& range,
                          const std::string& what) {
  double v = 0.0;
  std::string why;
  if (!ReadKeyField(line, n, integer, what, v, why)) return why;
  if (!range.Accepts(v)) return what + ": " + ShownField(line.Field(n)) + " is outside " + range.Text();
  return {};
}

std::string CheckSetpointField(const CKeyLine& line, int n, bool closedCircuit, const std::string& what) {
  const double setpoint = line.Double(n);
  const SValueRange& setpoints = ValueRange(EValue::Setpoint);
  const bool ok = closedCircuit ? setpoints.Accepts(setpoint)
                                : setpoint >= 0.0 && setpoints.Accepts(std::max(setpoint, setpoints.LowestHeld()));
  if (ok) return {};
  return what + ": " + ShownField(line.Field(n)) + " is outside " + setpoints.Text();
}

std::string CheckGasFields(const CKeyLine& line, int oxygenField, int heliumField, bool closedCircuit,
                           int setpointField, const std::string& what, const std::string& setpointWhat) {
  const double oxygen = line.Double(oxygenField), helium = line.Double(heliumField);
  // Saved with two decimals the parts still add up to at most 100 (two parts
  // that both round up add up to at most 99.98 before), so the gas stays
  // valid when the file is read back.
  const bool validGas = ValueRange(EValue::Oxygen).Accepts(oxygen) && ValueRange(EValue::Helium).Accepts(helium) &&
                        oxygen + helium <= 100.0;
  if (!validGas)
    return what + ": " + ShownField(line.Field(oxygenField)) + " % oxygen and " +
           ShownField(line.Field(heliumField)) + " % helium are not a valid gas";
  return CheckSetpointField(line, setpointField, closedCircuit, setpointWhat);
}

}  // namespace kv
