// The notes of the table viewer: one row in every table footer, written as
// the diver typed them, read back for the next edit.

#include "report/table_notes.h"

#include <gtest/gtest.h>

#include "report/html_text.h"
#include "report/tables_html.h"
#include "report_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

using test::Occurrences;
using test::ThreeTableDocument;

class TableNotesTest : public ::testing::Test {
protected:
  test::CTestEnvironment env;
};

TEST_F(TableNotesTest, NotesGoIntoEveryTableFooter) {
  const std::string doc = ThreeTableDocument();
  ASSERT_EQ(Occurrences(doc, "<TFOOT"), 3);
  EXPECT_EQ(TableNotes(doc).value_or("missing"), std::string());

  const std::string noted = WithTableNotes(doc, "Deco on 50%\r\nBackup: tables");
  const std::string row = "<b>Notes:</b><br>Deco on 50%<br>\nBackup: tables</td>\n</tr>\n</TFOOT>";
  EXPECT_EQ(Occurrences(noted, row), 3);
  // Editing again starts from the note, one line per "<br>".
  EXPECT_EQ(TableNotes(noted).value_or(""), "Deco on 50%\r\nBackup: tables");

  const std::string changed = WithTableNotes(noted, "Only this");
  EXPECT_EQ(Occurrences(changed, "Notes:</b><br>Only this</td>"), 3);
  EXPECT_EQ(Occurrences(changed, "Deco on 50%"), 0);

  // Clearing removes the row from every table: the document is as before.
  EXPECT_EQ(WithTableNotes(changed, ""), doc);
  // Nothing to change without a footer block.
  EXPECT_FALSE(TableNotes("<html>no tables</html>").has_value());
  EXPECT_EQ(WithTableNotes("<html>no tables</html>", "x"), "<html>no tables</html>");
}

TEST_F(TableNotesTest, ANoteIsTextNotMarkup) {
  const std::string typed = "Keep ppO2 <1.4 on deco, then >1.6 never\r\nO2 & \"deco\" <b>gas</b>";
  const std::string noted = WithTableNotes(ThreeTableDocument(), typed);
  EXPECT_EQ(Occurrences(noted, "Keep ppO2 &lt;1.4 on deco, then &gt;1.6 never<br>\nO2 &amp; &quot;deco&quot; "
                         "&lt;b&gt;gas&lt;/b&gt;</td>"),
            3);
  EXPECT_EQ(Occurrences(noted, "<b>gas</b>"), 0) << "no tag of the note reaches the document";
  EXPECT_EQ(TableNotes(noted).value_or(""), typed) << "the next edit starts from the text as typed";
  // A second edit does not escape twice.
  EXPECT_EQ(TableNotes(WithTableNotes(noted, *TableNotes(noted))).value_or(""), typed);
}

TEST_F(TableNotesTest, ANoteWrittenBeforeEscapingReadsAsItDid) {
  // Older documents hold the note as it was typed, without entities.
  std::string old = ThreeTableDocument();
  const std::string raw = "<tr>\n<td valign=\"middle\" align=\"centre\"><b>Notes:</b><br>Bring 2 lights<br>\nSwap at 21 "
                          "m</td>\n</tr>\n</TFOOT>";
  for (std::size_t at = old.find("</TFOOT>"); at != std::string::npos; at = old.find("</TFOOT>", at + raw.size()))
    old.replace(at, 8, raw);
  EXPECT_EQ(TableNotes(old).value_or(""), "Bring 2 lights\r\nSwap at 21 m");
}

TEST(HtmlText, EscapesAndUnescapesOnlyItsOwnEntities) {
  EXPECT_EQ(HtmlEscaped("a<b & c>\"d\""), "a&lt;b &amp; c&gt;&quot;d&quot;");
  EXPECT_EQ(HtmlUnescaped("a&lt;b &amp; c&gt;&quot;d&quot;"), "a<b & c>\"d\"");
  EXPECT_EQ(HtmlUnescaped("&amp;lt; &nbsp; &"), "&lt; &nbsp; &") << "one level, unknown entities kept";
  EXPECT_EQ(HtmlEscaped(""), "");
}

}  // namespace
}  // namespace kv
