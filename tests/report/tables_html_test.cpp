// The HTML writers: the whole document, page breaks, shading and alerts,
// the warning table, and what missing or empty fields do.

#include <gtest/gtest.h>

#include "report/table_builder.h"
#include "report/tables_html.h"
#include "support/test_support.h"

namespace kv {
namespace {

int Count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

DiveTableContent Table(const std::string& header, std::vector<std::string> rows = {"A~B"},
                       std::vector<bool> alerts = {false}) {
  DiveTableContent c;
  c.header = header;
  c.rows = std::move(rows);
  c.rowAlerts = std::move(alerts);
  c.footer = "FOOT";
  return c;
}

// The segment body of the only table of a document.
std::string Body(const std::string& doc) {
  const auto start = doc.find("<TBODY>\n") + 8;
  return doc.substr(start, doc.find("\n</TBODY>") - start);
}

class TablesHtmlTest : public ::testing::Test {
protected:
  test::CTestEnvironment env;
};

TEST_F(TablesHtmlTest, WholeDiveTableDocument) {
  CDivePlanTablesHtml writer;
  InitialiseDiveTablesWriter(writer);
  DiveTableContent c = Table("40m~Dive Plan~GF<br>20/80~Dive 1 of 1~CNS Final 120.0%~OTU Final 7.4%",
                             {"Gas~Depth (m)~Run Time", "Air~ 0~2", "Air~Bottom Depth~20", "Air~ 6~53"},
                             {false, false, true, false});
  c.cnsAlert = true;
  c.warnings = {"Gas~Warnings", "Air~EAD 40m @ 40m"};
  c.footer = TableFooterText("Diver");
  writer.AddTable(c);
  writer.Finish();
  const std::string expected =
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html>\n<head>\n"
      "<title>Kestrun Varnadel</title>\n"
      "<meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\">\n"
      "<meta name=\"author\" content=\"Kestrun Ltd.\">\n"
      "<style type=\"text/css\">\n"
      "div.breakafter\t{page-break-after:always;\tcolor: silver}\n"
      "div.breakbefore {page-break-before:always;\tcolor: silver}\n"
      "</style>\n</head>\n<body>\n\n"
      "<table border=\"1\" cellpadding=\"5\" align=\"center\" width=\"90%\">\n"
      "<THEAD style=\"display: table-header-group\">\n<tr>\n<td>\n"
      "<table border=\"1\" cellpadding=\"1\" width=\"100%\">\n<tr>\n"
      "<td rowspan=\"3\" valign=\"middle\" align=\"middle\" width=\"10%\"><h1>40m</h1></td>\n"
      "<td valign=\"middle\" align=\"middle\"><h2>&nbsp;Dive Plan</h2></td>\n"
      "<td rowspan=\"3\" valign=\"middle\" align=\"middle\" width=\"10%\"><h1>GF<br>20/80</h1></td>\n"
      "</tr>\n<tr>\n"
      "<td valign=\"middle\" align=\"left\">&nbsp;Dive 1 of 1</td>\n"
      "</tr>\n<tr>\n"
      "<td valign=\"middle\" align=\"left\">&nbsp;<font color = red>CNS Final 120.0%</font> - OTU Final 7.4%</td>\n"
      "</tr>\n</table>\n</td>\n</tr>\n</THEAD>\n<TBODY>\n"
      "<tr>\n<td>\n<table border=\"1\" cellpadding=\"5\" width=\"100%\">\n"
      "<tr>\n"
      "<th valign=\"middle\" align=\"center\">Gas</th>\n"
      "<th valign=\"middle\" align=\"center\">Depth (m)</th>\n"
      "<th valign=\"middle\" align=\"center\">Run Time</th>\n"
      "</tr>\n"
      "<tr>\n"
      "<td valign=\"middle\" align=\"center\">Air</td>\n"
      "<td valign=\"middle\" align=\"center\"> 0</td>\n"
      "<td valign=\"middle\" align=\"center\">2</td>\n"
      "</tr>\n"
      "<tr style=\"background-color:gainsboro;color:red\">\n"
      "<td valign=\"middle\" align=\"center\">Air</td>\n"
      "<td valign=\"middle\" align=\"center\">Bottom Depth</td>\n"
      "<td valign=\"middle\" align=\"center\">20</td>\n"
      "</tr>\n"
      "<tr>\n"
      "<td valign=\"middle\" align=\"center\">Air</td>\n"
      "<td valign=\"middle\" align=\"center\"> 6</td>\n"
      "<td valign=\"middle\" align=\"center\">53</td>\n"
      "</tr>\n"
      "</table>\n"
      "<br><br>\n<table border=\"1\" cellpadding=\"5\" width=\"50%\">\n"
      "<tr>\n"
      "<th valign=\"top\" align=\"left\">Gas</th>\n"
      "<th valign=\"top\" align=\"left\">Warnings</th>\n"
      "</tr>\n"
      "<tr style=\"color:red\">\n"
      "<td valign=\"top\" align=\"left\">Air</td>\n"
      "<td valign=\"top\" align=\"left\">EAD 40m @ 40m</td>\n"
      "</tr>\n"
      "</table>\n<br>\n"
      "</td>\n</tr>\n"
      "</TBODY>\n"
      "<TFOOT style=\"display: table-footer-group\">\n<tr>\n"
      "<td valign=\"middle\" align=\"center\"><b>Created 28.05.2026 20:26:40 by Diver<br>"
      "Kestrun Varnadel (Version 0.1.0)</b></td>\n"
      "</tr>\n</TFOOT>\n</table>\n"
      "<br>\n<font size=-1>\n<CENTER>\n"
      "<p><a href=\"https://www.kestrun.example/\">Kestrun Home Page</a></p>\n"
      "<hr width = \"40%\"; heigth = \"5\">\n"
      "Dive Table created by the Kestrun Varnadel program<br>"
      "THIS TABLE IS FOR PROGRAM TEST PURPOSES ONLY<br>"
      "DO NOT USE THE DATA CONTAINED IN THIS TEST TABLE<br>"
      "This file was created on 28.05.2026 20:26:40\n"
      "</CENTER>\n</body>\n</html>";
  EXPECT_EQ(writer.GetDocument(), expected);
}

TEST_F(TablesHtmlTest, WholeGasTableDocument) {
  CGasConsumptionTablesHtml writer;
  writer.Reset();
  DiveTableContent c = Table("30m~Gas Usage Table<br>SAC 30 (l/min)~GF<br>20/80~Dive 1 of 1~~",
                             {"Gas Mix~Volume", "Air~120", "Oxygen~40", "50% Nitrox~30"});
  c.otuAlert = true;
  writer.AddTable(c);
  writer.Finish();
  const std::string expected =
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\"><html>\n<head>\n"
      "<title></title>\n"
      "<meta http-equiv=\"content-type\" content=\"text/html; charset=ISO-8859-1\">\n"
      "<meta name=\"author\" content=\"\">\n"
      "<style type=\"text/css\">\n"
      "div.breakafter\t{page-break-after:always;\tcolor: silver}\n"
      "div.breakbefore {page-break-before:always;\tcolor: silver}\n"
      "</style>\n</head>\n<body>\n\n"
      "<table border=\"1\" cellpadding=\"5\" align=\"center\" width=\"90%\">\n"
      "<THEAD style=\"display: table-header-group\">\n<tr>\n<td>\n"
      "<table border=\"1\" cellpadding=\"1\" width=\"100%\">\n<tr>\n"
      "<td rowspan=\"3\" valign=\"middle\" align=\"middle\" width=\"10%\"><h1>30m</h1></td>\n"
      "<td valign=\"middle\" align=\"middle\"><h2>&nbsp;Gas Usage Table<br>SAC 30 (l/min)</h2></td>\n"
      "<td rowspan=\"3\" valign=\"middle\" align=\"middle\" width=\"10%\"><h1>GF<br>20/80</h1></td>\n"
      "</tr>\n<tr>\n"
      "<td valign=\"middle\" align=\"left\">&nbsp;Dive 1 of 1</td>\n"
      "</tr>\n<tr>\n"
      "<td valign=\"middle\" align=\"left\">&nbsp; - <font color = red></font></td>\n"
      "</tr>\n</table>\n</td>\n</tr>\n</THEAD>\n"
      "<TFOOT style=\"display: table-footer-group\">\n<tr>\n"
      "<td valign=\"middle\" align=\"center\">FOOT</td>\n"
      "</tr>\n</TFOOT>\n"
      "<TBODY>\n"
      "<tr>\n<td>\n<table border=\"1\" cellpadding=\"5\" width=\"100%\">\n"
      "<tr>\n"
      "<th valign=\"middle\" align=\"center\">Gas Mix</th>\n"
      "<th valign=\"middle\" align=\"center\">Volume</th>\n"
      "</tr>\n"
      "<tr>\n"
      "<td valign=\"middle\" align=\"center\">Air</td>\n"
      "<td valign=\"middle\" align=\"center\">120</td>\n"
      "</tr>\n"
      "<tr bgcolor=\"#DDDDDD\">\n"
      "<td valign=\"middle\" align=\"center\">Oxygen</td>\n"
      "<td valign=\"middle\" align=\"center\">40</td>\n"
      "</tr>\n"
      "<tr>\n"
      "<td valign=\"middle\" align=\"center\">50% Nitrox</td>\n"
      "<td valign=\"middle\" align=\"center\">30</td>\n"
      "</tr>\n"
      "</table>\n</td>\n</tr>\n"
      "</TBODY>\n</table>\n"
      "<br>\n<font size=-1>\n<CENTER>\n\n"
      "<hr width = \"40%\"; heigth = \"5\">\n"
      "Dive Table created by the Kestrun Varnadel program<br>"
      "THIS TABLE IS FOR PROGRAM TEST PURPOSES ONLY<br>"
      "DO NOT USE THE DATA CONTAINED IN THIS TEST TABLE<br>"
      "This file was created on 28.05.2026 20:26:40\n"
      "</CENTER>\n</body>\n</html>";
  EXPECT_EQ(writer.GetDocument(), expected);
}

TEST_F(TablesHtmlTest, PageBreakOnlyBetweenTables) {
  CDivePlanTablesHtml writer;
  writer.Reset();
  writer.AddTable(Table("1m~T1"));
  EXPECT_EQ(Count(writer.GetDocument(), "breakafter\">"), 0);
  writer.AddTable(Table("2m~T2"));
  writer.Finish();
  const std::string& doc = writer.GetDocument();
  ASSERT_EQ(Count(doc, "<div class=\"breakafter\"><br></div>\n"), 1);
  const auto pageBreak = doc.find("<div class=\"breakafter\">");
  EXPECT_LT(doc.find("<h1>1m</h1>"), pageBreak);
  EXPECT_GT(doc.find("<h1>2m</h1>"), pageBreak);
  // The break directly precedes the second table's frame.
  EXPECT_EQ(doc.find("<table", pageBreak), pageBreak + std::string("<div class=\"breakafter\"><br></div>\n").size());

  // A reset starts a new document: the next table is again the first.
  writer.Reset();
  writer.AddTable(Table("3m~T3"));
  EXPECT_EQ(writer.GetTableCount(), 1);
  EXPECT_EQ(Count(writer.GetDocument(), "breakafter\">"), 0);
  EXPECT_EQ(writer.GetDocument().find("1m"), std::string::npos);

  CGasConsumptionTablesHtml gas;
  gas.Reset();
  gas.AddTable(Table("1m"));
  gas.AddTable(Table("2m"));
  gas.AddTable(Table("3m"));
  EXPECT_EQ(Count(gas.GetDocument(), "<div class=\"breakafter\"><br></div>\n"), 2);
}

TEST_F(TablesHtmlTest, EverySecondRowIsShadedAndAlertsAreRed) {
  CDivePlanTablesHtml writer;
  writer.Reset();
  writer.AddTable(Table("h", {"H", "r1", "r2", "r3", "r4", "r5"}, {false, false, false, true}));
  const std::string body = Body(writer.GetDocument());
  auto opening = [&](const std::string& cell) {
    const auto at = body.find("center\">" + cell + "</td>");
    const auto tr = body.rfind("<tr", at);
    return body.substr(tr, body.find('>', tr) + 1 - tr);
  };
  EXPECT_EQ(opening("r1"), "<tr>");
  EXPECT_EQ(opening("r2"), "<tr style=\"background-color:gainsboro\">");
  EXPECT_EQ(opening("r3"), "<tr style=\"color:red\">");
  EXPECT_EQ(opening("r4"), "<tr style=\"background-color:gainsboro\">");
  // Past the alert flags: not an alert.
  EXPECT_EQ(opening("r5"), "<tr>");
}

TEST_F(TablesHtmlTest, HeadingOnlyAndEmptyTables) {
  CDivePlanTablesHtml writer;
  writer.Reset();
  writer.AddTable(Table("h", {"Gas~Run Time"}));
  EXPECT_EQ(Body(writer.GetDocument()),
            "<tr>\n<td>\n<table border=\"1\" cellpadding=\"5\" width=\"100%\">\n<tr>\n"
            "<th valign=\"middle\" align=\"center\">Gas</th>\n"
            "<th valign=\"middle\" align=\"center\">Run Time</th>\n</tr>\n</table>\n</td>\n</tr>");
  writer.Reset();
  writer.AddTable(Table("h", {}, {}));
  EXPECT_EQ(Body(writer.GetDocument()),
            "<tr>\n<td>\n<table border=\"1\" cellpadding=\"5\" width=\"100%\">\n</table>\n</td>\n</tr>");
}

TEST_F(TablesHtmlTest, WarningLineJoinsItsWarnings) {
  CDivePlanTablesHtml writer;
  writer.Reset();
  DiveTableContent c = Table("h");
  c.warnings = {"Gas~Warnings", "18/45~ICD Risk~EAD 40m @ 50m"};
  writer.AddTable(c);
  const std::string body = Body(writer.GetDocument());
  EXPECT_NE(body.find("<tr style=\"color:red\">\n<td valign=\"top\" align=\"left\">18/45</td>\n"
                      "<td valign=\"top\" align=\"left\">ICD Risk<br>EAD 40m @ 50m</td>\n</tr>\n"
                      "</table>\n<br>\n</td>\n</tr>"),
            std::string::npos)
      << body;
  EXPECT_EQ(Count(body, "color:red"), 1);
}

TEST_F(TablesHtmlTest, EmptyAndMissingHeaderFields) {
  CDivePlanTablesHtml writer;
  writer.Reset();
  DiveTableContent c = Table("d~t~g~n~CNS~");
  c.otuAlert = true;
  writer.AddTable(c);
  EXPECT_NE(writer.GetDocument().find("&nbsp;CNS</td>"), std::string::npos);

  writer.Reset();
  c = Table("d~t~g~n~~OTU");
  c.cnsAlert = true;
  writer.AddTable(c);
  EXPECT_NE(writer.GetDocument().find("&nbsp; - OTU</td>"), std::string::npos);

  // Fewer than six fields leave the placeholders of the missing ones.
  writer.Reset();
  writer.AddTable(Table("d~t~g~n~CNS"));
  EXPECT_NE(writer.GetDocument().find("&nbsp;CNS#HEADEROTU#</td>"), std::string::npos);
  writer.Reset();
  writer.AddTable(Table("d~t"));
  const std::string& doc = writer.GetDocument();
  EXPECT_NE(doc.find("<h1>#HEADERGRADIENTFACTORS#</h1>"), std::string::npos);
  EXPECT_NE(doc.find("&nbsp;#HEADERDIVENUMBER#</td>"), std::string::npos);

  // The gas table keeps its separator whatever the fields hold.
  CGasConsumptionTablesHtml gas;
  gas.Reset();
  gas.AddTable(Table("d~t~g~n~~"));
  EXPECT_NE(gas.GetDocument().find("&nbsp; - </td>"), std::string::npos);
}

TEST_F(TablesHtmlTest, FooterLinkParagraphOnlyWithALink) {
  CDivePlanTablesHtml writer;
  writer.Initialise("T", "A", "Dive Table", "", "Home", "#C0C0C0", "#000000", "#ff6666", "#ffffcc");
  writer.Finish();
  EXPECT_EQ(writer.GetDocument().find("<a href"), std::string::npos);
  EXPECT_EQ(writer.GetDocument().find("Home"), std::string::npos);
  EXPECT_NE(writer.GetDocument().find("<CENTER>\n\n<hr"), std::string::npos);
}

}  // namespace
}  // namespace kv
