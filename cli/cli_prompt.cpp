#include "cli/cli_prompt.h"

namespace kv {

std::string OneLine(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  bool blank = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    // A non-breaking space (UTF-8 C2 A0) reads as a plain one on a terminal line.
    if (static_cast<unsigned char>(c) == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xA0) {
      ++i;
      c = ' ';
    }
    if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    if (c == ' ') {
      blank = true;
      continue;
    }
    if (blank && !out.empty()) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

void CCliPrompt::ShowMessage(const std::string& text, EIcon) {
  ++m_shown;
  m_err << kAppCaption << ": " << OneLine(text) << '\n';
}

bool CCliPrompt::AskYesNo(const std::string& text, bool, EIcon) {
  ++m_shown;
  m_err << kAppCaption << ": " << OneLine(text) << (m_answerYes ? " Yes" : " No") << '\n';
  return m_answerYes;
}

}  // namespace kv
