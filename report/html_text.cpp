#include "report/html_text.h"

#include <array>
#include <utility>

namespace kv {
namespace {

constexpr std::array<std::pair<char, const char*>, 4> kEntities = {
    {{'&', "&amp;"}, {'<', "&lt;"}, {'>', "&gt;"}, {'"', "&quot;"}}};

}  // namespace

std::string HtmlEscaped(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const char* entity = nullptr;
    for (const auto& [plain, escaped] : kEntities)
      if (c == plain) entity = escaped;
    if (entity)
      out += entity;
    else
      out += c;
  }
  return out;
}

std::string HtmlUnescaped(const std::string& html) {
  std::string out;
  out.reserve(html.size());
  for (std::size_t i = 0; i < html.size();) {
    bool replaced = false;
    if (html[i] == '&') {
      for (const auto& [plain, escaped] : kEntities) {
        const std::string_view entity(escaped);
        if (html.compare(i, entity.size(), entity) == 0) {
          out += plain;
          i += entity.size();
          replaced = true;
          break;
        }
      }
    }
    if (!replaced) out += html[i++];
  }
  return out;
}

}  // namespace kv
