#include "report/table_notes.h"

#include "report/html_text.h"
#include "report/tables_html.h"

namespace kv {
namespace {

constexpr const char* kOpen = "<TFOOT";
constexpr const char* kClose = "/TFOOT>";
constexpr const char* kEndTag = "</TFOOT>";
constexpr const char* kNotes = "Notes:";
// "Notes:" and the "</b><br>" that follows it.
constexpr std::size_t kNotesLead = 14;

struct SBlock {
  std::size_t begin = std::string::npos;
  std::size_t end = std::string::npos;  // one past "/TFOOT>"
};

SBlock FindBlock(const std::string& document, std::size_t from) {
  SBlock b;
  const std::size_t open = document.find(kOpen, from);
  if (open == std::string::npos) return b;
  const std::size_t close = document.find(kClose, open);
  if (close == std::string::npos) return b;
  b.begin = open;
  b.end = close + std::char_traits<char>::length(kClose);
  return b;
}

}  // namespace

std::optional<std::string> TableNotes(const std::string& document) {
  const SBlock b = FindBlock(document, 0);
  if (b.begin == std::string::npos) return std::nullopt;
  const std::string block = document.substr(b.begin, b.end - b.begin);
  const std::size_t at = block.find(kNotes);
  if (at == std::string::npos) return std::string();
  const std::size_t start = std::min(at + kNotesLead, block.size());
  const std::size_t stop = block.find("</td>", start);
  std::string note = block.substr(start, stop == std::string::npos ? std::string::npos : stop - start);
  ReplaceAll(note, "<br>", "\r");
  // A note written before notes were escaped has no entities and reads as it did.
  return HtmlUnescaped(note);
}

std::string WithTableNotes(const std::string& document, const std::string& notes) {
  const SBlock first = FindBlock(document, 0);
  if (first.begin == std::string::npos) return document;
  std::string block = document.substr(first.begin, first.end - first.begin);
  // The note is text: a "<" or "&" in it prints as itself.
  std::string html = HtmlEscaped(notes);
  ReplaceAll(html, "\r", "<br>");
  const std::size_t endTag = block.rfind(kEndTag);
  const std::size_t at = block.find(kNotes);
  if (at != std::string::npos) {
    if (notes.empty()) {
      // The notes row goes: keep the block up to the last "<tr>" before "</TFOOT>".
      const std::size_t row = endTag == std::string::npos ? std::string::npos : block.rfind("<tr>", endTag);
      if (row != std::string::npos) block = block.substr(0, row) + block.substr(endTag);
    } else {
      const std::size_t start = std::min(at + kNotesLead, block.size());
      std::size_t stop = block.find("</td>", start);
      if (stop == std::string::npos) stop = block.size();
      block = block.substr(0, start) + html + block.substr(stop);
    }
  } else {
    // Nothing to add for an empty note: an empty "Notes:" row would only puzzle the reader.
    if (notes.empty() || endTag == std::string::npos) return document;
    block.insert(endTag, "<tr>\n<td valign=\"middle\" align=\"centre\"><b>Notes:</b><br>" + html + "</td>\n</tr>\n");
  }

  // The edited block stands in for the footer block of every table.
  std::string result;
  std::size_t from = 0;
  for (SBlock b = FindBlock(document, 0); b.begin != std::string::npos; b = FindBlock(document, from)) {
    result.append(document, from, b.begin - from);
    result += block;
    from = b.end;
  }
  result.append(document, from, std::string::npos);
  return result;
}

}  // namespace kv
