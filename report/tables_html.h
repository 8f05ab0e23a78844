#pragma once
// Printable HTML 4.01 documents of tables: a fixed head, one framed table per
// dive (or per generated table), a page break before every table after the
// first, and a fixed footer. The dive-table writer and the gas-consumption
// writer share everything but the table template and the body of a table.

#include <string>

#include "report/dive_table_content.h"

namespace kv {

class CTablesHtml {
public:
  virtual ~CTablesHtml() = default;

  // Stores the values and resets the document.
  void Initialise(const std::string& title, const std::string& author, const std::string& tableName,
                  const std::string& link, const std::string& linkText, const std::string& backgroundColour,
                  const std::string& textColour, const std::string& colour1, const std::string& colour2);
  // Empties the document and starts it with the head; builds the footer
  // (dated now, by the clock seam).
  void Reset();
  virtual void AddTable(const DiveTableContent& content) = 0;
  // Appends the footer; the document is complete.
  void Finish();
  const std::string& GetDocument() const { return m_document; }
  int GetTableCount() const { return m_tableCount; }

protected:
  virtual const char* TableTemplate() const = 0;
  // The page break before every table but the first, and the count.
  void StartTable();
  // The table template with the six header fields filled; a missing field
  // leaves its placeholder.
  std::string FillHeader(const DiveTableContent& content, bool dropEmptyCnsOtu) const;
  void AppendTable(std::string table, const std::string& body, const std::string& footerText);
  std::string HeadingCells(const std::string& line) const;
  std::string DataCells(const std::string& line) const;

  std::string m_document;
  std::string m_title;
  std::string m_author;
  std::string m_tableName;
  std::string m_backgroundColour;
  std::string m_textColour;
  std::string m_colour1;
  std::string m_colour2;
  std::string m_link;
  std::string m_linkText;
  std::string m_head;
  std::string m_table;
  std::string m_footer;
  std::string m_centredHeadingCell;
  std::string m_centredDataCell;
  std::string m_leftHeadingCell;
  std::string m_leftDataCell;
  int m_tableCount = 0;
};

// Dive tables: segment rows with shading and red alerts, and the gas warnings.
class CDivePlanTablesHtml final : public CTablesHtml {
public:
  void AddTable(const DiveTableContent& content) override;

protected:
  const char* TableTemplate() const override;
};

// Gas consumption tables: no alerts on rows and no warning table.
class CGasConsumptionTablesHtml final : public CTablesHtml {
public:
  void AddTable(const DiveTableContent& content) override;

protected:
  const char* TableTemplate() const override;
};

// Replaces every occurrence of what in text.
void ReplaceAll(std::string& text, const std::string& what, const std::string& with);

// The clock's current local time as the tables print it: "%d.%m.20%y %H:%M:%S".
std::string ReportDateText();

}  // namespace kv
