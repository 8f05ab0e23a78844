#include "report/tables_html.h"

#include "base/clock.h"
#include "base/text.h"

namespace kv {
namespace {

const char* const kHeadTemplate =
    "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html>\n<head>\n<title>#TITLE#</title>\n"
    "<meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\">\n"
    "<meta name=\"author\" content=\"#AUTHOR#\">\n<style type=\"text/css\">\n"
    "div.breakafter\t{page-break-after:always;\tcolor: silver}\n"
    "div.breakbefore {page-break-before:always;\tcolor: silver}\n</style>\n</head>\n<body>\n";

// The frame and the three header rows are common; the two kinds of table
// differ in the CNS/OTU cell and in where the footer block stands.
#define KV_TABLE_FRAME_START                                                                          \
  "<table border=\"1\" cellpadding=\"5\" align=\"center\" width=\"90%\">\n"                          \
  "<THEAD style=\"display: table-header-group\">\n<tr>\n<td>\n"                                      \
  "<table border=\"1\" cellpadding=\"1\" width=\"100%\">\n<tr>\n"                                    \
  "<td rowspan=\"3\" valign=\"middle\" align=\"middle\" width=\"10%\"><h1>#HEADERDEPTH#</h1></td>\n" \
  "<td valign=\"middle\" align=\"middle\"><h2>&nbsp;#HEADERTITLE#</h2></td>\n"                       \
  "<td rowspan=\"3\" valign=\"middle\" align=\"middle\" width=\"10%\"><h1>#HEADERGRADIENTFACTORS#</h1></td>\n" \
  "</tr>\n<tr>\n<td valign=\"middle\" align=\"left\">&nbsp;#HEADERDIVENUMBER#</td>\n</tr>\n<tr>\n"

#define KV_TABLE_FOOTER_BLOCK                                 \
  "<TFOOT style=\"display: table-footer-group\">\n<tr>\n"    \
  "<td valign=\"middle\" align=\"center\">#FOOTERTEXT#</td>\n" \
  "</tr>\n</TFOOT>\n"

const char* const kDiveTableTemplate =
    KV_TABLE_FRAME_START
    "<td valign=\"middle\" align=\"left\">&nbsp;#HEADERCNS##HEADEROTU#</td>\n</tr>\n</table>\n</td>\n</tr>\n"
    "</THEAD>\n<TBODY>\n#SEGMENTTABLE#\n</TBODY>\n" KV_TABLE_FOOTER_BLOCK "</table>\n";

const char* const kGasTableTemplate =
    KV_TABLE_FRAME_START
    "<td valign=\"middle\" align=\"left\">&nbsp;#HEADERCNS# - #HEADEROTU#</td>\n</tr>\n</table>\n</td>\n</tr>\n"
    "</THEAD>\n" KV_TABLE_FOOTER_BLOCK "<TBODY>\n#SEGMENTTABLE#\n</TBODY>\n</table>\n";

#undef KV_TABLE_FRAME_START
#undef KV_TABLE_FOOTER_BLOCK

const char* const kFooterTemplate =
    "<br>\n<font size=-1>\n<CENTER>\n<p><a href=\"#LINK#\">#LINKTEXT#</a></p>\n"
    "<hr width = \"40%\"; heigth = \"5\">\n#FOOTER#\n</CENTER>\n</body>\n</html>";
const char* const kLinkParagraph = "<p><a href=\"#LINK#\">#LINKTEXT#</a></p>";

const char* const kCentredHeadingCell = "<th valign=\"middle\" align=\"center\">#HEADER#</th>\n";
const char* const kCentredDataCell = "<td valign=\"middle\" align=\"center\">#CONTENT#</td>\n";
const char* const kLeftHeadingCell = "<th valign=\"top\" align=\"left\">#HEADER#</th>\n";
const char* const kLeftDataCell = "<td valign=\"top\" align=\"left\">#CONTENT#</td>\n";

const char* const kPageBreak = "<div class=\"breakafter\"><br></div>\n";
const char* const kBodyStart = "<tr>\n<td>\n<table border=\"1\" cellpadding=\"5\" width=\"100%\">\n";

std::string Red(const std::string& text) { return "<font color = red>" + text + "</font>"; }

std::string Cell(const std::string& cellTemplate, const char* placeholder, const std::string& content) {
  std::string cell = cellTemplate;
  ReplaceAll(cell, placeholder, content);
  return cell;
}

}  // namespace

void ReplaceAll(std::string& text, const std::string& what, const std::string& with) {
  if (what.empty()) return;
  std::size_t pos = 0;
  while ((pos = text.find(what, pos)) != std::string::npos) {
    text.replace(pos, what.size(), with);
    pos += with.size();
  }
}

std::string ReportDateText() {
  const std::tm t = Clock().LocalTime(Clock().Now());
  return Format("%02d.%02d.20%02d %02d:%02d:%02d", t.tm_mday, t.tm_mon + 1, t.tm_year % 100, t.tm_hour, t.tm_min,
                t.tm_sec);
}

// ---- Common document -------------------------------------------------------------

void CTablesHtml::Initialise(const std::string& title, const std::string& author, const std::string& tableName,
                             const std::string& link, const std::string& linkText,
                             const std::string& backgroundColour, const std::string& textColour,
                             const std::string& colour1, const std::string& colour2) {
  m_title = title;
  m_author = author;
  m_tableName = tableName;
  m_link = link;
  m_linkText = linkText;
  m_backgroundColour = backgroundColour;
  m_textColour = textColour;
  m_colour1 = colour1;
  m_colour2 = colour2;
  Reset();
}

void CTablesHtml::Reset() {
  m_document.clear();
  m_tableCount = 0;
  m_head = kHeadTemplate;
  m_table = TableTemplate();
  m_footer = kFooterTemplate;
  m_centredHeadingCell = kCentredHeadingCell;
  m_centredDataCell = kCentredDataCell;
  m_leftHeadingCell = kLeftHeadingCell;
  m_leftDataCell = kLeftDataCell;

  if (!m_link.empty()) {
    ReplaceAll(m_footer, "#LINK#", m_link);
    ReplaceAll(m_footer, "#LINKTEXT#", m_linkText);
  } else {
    ReplaceAll(m_footer, kLinkParagraph, "");
  }
  ReplaceAll(m_footer, "#FOOTER#",
             std::string("Dive Table created by the Kestrun Varnadel program<br>") +
                 "THIS TABLE IS FOR PROGRAM TEST PURPOSES ONLY<br>" +
                 "DO NOT USE THE DATA CONTAINED IN THIS TEST TABLE<br>" + "This file was created on " +
                 ReportDateText());

  std::string head = m_head;
  ReplaceAll(head, "#TITLE#", m_title);
  ReplaceAll(head, "#AUTHOR#", m_author);
  ReplaceAll(head, "#BKCOLOR#", m_backgroundColour);
  ReplaceAll(head, "#TEXTCOLOR#", m_textColour);
  m_document = head + "\n";
}

void CTablesHtml::Finish() { m_document += m_footer; }

void CTablesHtml::StartTable() {
  if (m_tableCount != 0) m_document += kPageBreak;
  ++m_tableCount;
}

std::string CTablesHtml::FillHeader(const DiveTableContent& content, bool dropEmptyCnsOtu) const {
  std::string table = m_table;
  const CSParser fields(content.header, '~');
  const int count = fields.Count();
  static const char* const kPlaceholders[] = {"#HEADERDEPTH#", "#HEADERTITLE#", "#HEADERGRADIENTFACTORS#",
                                              "#HEADERDIVENUMBER#"};
  for (int i = 0; i < 4 && i < count; ++i) ReplaceAll(table, kPlaceholders[i], fields.GetField(i + 1));
  if (count >= 5) {
    const std::string cns = fields.GetField(5);
    if (dropEmptyCnsOtu && cns.empty())
      ReplaceAll(table, "#HEADERCNS#", "");
    else
      ReplaceAll(table, "#HEADERCNS#", content.cnsAlert ? Red(cns) : cns);
  }
  if (count >= 6) {
    const std::string otu = fields.GetField(6);
    const std::string shown = content.otuAlert ? Red(otu) : otu;
    if (!dropEmptyCnsOtu)
      ReplaceAll(table, "#HEADEROTU#", shown);
    else if (otu.empty())
      ReplaceAll(table, "#HEADEROTU#", "");
    else
      ReplaceAll(table, "#HEADEROTU#", " - " + shown);
  }
  return table;
}

void CTablesHtml::AppendTable(std::string table, const std::string& body, const std::string& footerText) {
  ReplaceAll(table, "#SEGMENTTABLE#", body);
  ReplaceAll(table, "#FOOTERTEXT#", footerText);
  m_document += table;
}

std::string CTablesHtml::HeadingCells(const std::string& line) const {
  const CSParser fields(line, '~');
  std::string cells;
  for (int f = 1; f <= fields.Count(); ++f) cells += Cell(m_centredHeadingCell, "#HEADER#", fields.GetField(f));
  return cells;
}

std::string CTablesHtml::DataCells(const std::string& line) const {
  const CSParser fields(line, '~');
  std::string cells;
  for (int f = 1; f <= fields.Count(); ++f) cells += Cell(m_centredDataCell, "#CONTENT#", fields.GetField(f));
  return cells;
}

// ---- Dive tables ---------------------------------------------------------------------

const char* CDivePlanTablesHtml::TableTemplate() const { return kDiveTableTemplate; }

void CDivePlanTablesHtml::AddTable(const DiveTableContent& content) {
  StartTable();
  std::string table = FillHeader(content, true);

  std::string body = kBodyStart;
  if (!content.rows.empty()) body += "<tr>\n" + HeadingCells(content.rows[0]) + "</tr>\n";
  for (std::size_t i = 1; i < content.rows.size(); ++i) {
    // Every second row is shaded so that the eye can follow a row across.
    const bool even = i % 2 == 0;
    const bool alert = i < content.rowAlerts.size() && content.rowAlerts[i];
    if (even && alert)
      body += "<tr style=\"background-color:gainsboro;color:red\"";
    else if (even)
      body += "<tr style=\"background-color:gainsboro\"";
    else if (alert)
      body += "<tr style=\"color:red\"";
    else
      body += "<tr";
    body += ">\n" + DataCells(content.rows[i]) + "</tr>\n";
  }
  body += "</table>\n";

  if (!content.warnings.empty()) {
    body += "<br><br>\n<table border=\"1\" cellpadding=\"5\" width=\"50%\">\n<tr>\n";
    const CSParser heading(content.warnings[0], '~');
    for (int f = 1; f <= heading.Count(); ++f) body += Cell(m_leftHeadingCell, "#HEADER#", heading.GetField(f));
    body += "</tr>\n";
    for (std::size_t i = 1; i < content.warnings.size(); ++i) {
      const CSParser fields(content.warnings[i], '~');
      std::string warnings;
      for (int f = 2; f <= fields.Count(); ++f) {
        if (f > 2) warnings += "<br>";
        warnings += fields.GetField(f);
      }
      body += "<tr style=\"color:red\">\n" + Cell(m_leftDataCell, "#CONTENT#", fields.GetField(1)) +
              Cell(m_leftDataCell, "#CONTENT#", warnings) + "</tr>\n";
    }
    body += "</table>\n<br>\n";
  }
  body += "</td>\n</tr>";
  AppendTable(std::move(table), body, content.footer);
}

// ---- Gas consumption tables --------------------------------------------------------------

const char* CGasConsumptionTablesHtml::TableTemplate() const { return kGasTableTemplate; }

void CGasConsumptionTablesHtml::AddTable(const DiveTableContent& content) {
  StartTable();
  std::string table = FillHeader(content, false);

  std::string body = kBodyStart;
  if (!content.rows.empty()) body += "<tr>\n" + HeadingCells(content.rows[0]) + "</tr>\n";
  for (std::size_t i = 1; i < content.rows.size(); ++i)
    body += (i % 2 == 0 ? "<tr bgcolor=\"#DDDDDD\">\n" : "<tr>\n") + DataCells(content.rows[i]) + "</tr>\n";
  body += "</table>\n</td>\n</tr>";
  AppendTable(std::move(table), body, content.footer);
}

}  // namespace kv
