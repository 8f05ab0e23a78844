// Writing the documents in the ISO-8859-1 they declare.

#include <gtest/gtest.h>

#include "report/latin1.h"

#include "plan/file_store.h"
#include "report/table_builder.h"
#include "report_test_util.h"
#include "support/test_support.h"

namespace kv {
namespace {

TEST(Latin1, KeepsLatinOneAndReplacesTheRest) {
  EXPECT_EQ(Utf8ToLatin1("Dive 1 of 2"), "Dive 1 of 2");
  // "Jürgen Ø" : two-byte sequences become single bytes.
  EXPECT_EQ(Utf8ToLatin1("J\xC3\xBCrgen \xC3\x98"), "J\xFCrgen \xD8");
  EXPECT_EQ(Utf8ToLatin1("\xC2\xA0\xC3\xBF"), "\xA0\xFF");  // U+00A0 and U+00FF, the edges
  // "Дима" (Cyrillic), "€" and a four-byte emoji: one "?" per character.
  EXPECT_EQ(Utf8ToLatin1("\xD0\x94\xD0\xB8\xD0\xBC\xD0\xB0"), "????");
  EXPECT_EQ(Utf8ToLatin1("5\xE2\x82\xAC"), "5?");
  EXPECT_EQ(Utf8ToLatin1("a\xF0\x9F\x90\xA0z"), "a?z");
  EXPECT_EQ(Utf8ToLatin1("\xD0\x94\xE2\x82\xAC\xF0\x9F\x90\xA0", EUnencodable::CharacterReference),
            "&#1044;&#8364;&#128032;");
}

TEST(Latin1, InvalidBytesBecomeOneQuestionMarkEach) {
  EXPECT_EQ(Utf8ToLatin1("a\xFC" "b"), "a?b");            // Latin-1 byte passed in by mistake
  EXPECT_EQ(Utf8ToLatin1("\xC3"), "?");                   // cut short at the end
  EXPECT_EQ(Utf8ToLatin1("\xE2\x82" "A"), "??A");         // cut short before a plain character
  EXPECT_EQ(Utf8ToLatin1("\xC0\xAF"), "??");              // overlong "/"
  EXPECT_EQ(Utf8ToLatin1("\xED\xA0\x80"), "???");         // a surrogate
  EXPECT_EQ(Utf8ToLatin1("\x80", EUnencodable::CharacterReference), "?");
}

TEST(Latin1, DocumentWithADiverNameInAnotherScript) {
  test::CTestEnvironment env;
  auto dive = test::MakeDive({{30, 1200, 32}});
  ASSERT_TRUE(test::CalculateFirst(*dive));
  SReportOptions options;
  options.diverName = "\xD0\x94\xD0\xB8\xD0\xBC\xD0\xB0 M\xC3\xBCller";  // "Дима Müller"
  CDivePlanTablesHtml writer;
  InitialiseDiveTablesWriter(writer);
  ASSERT_TRUE(BuildDiveTables({dive.get()}, 0, options, writer));
  const std::string path = test::TempDir() + "/tables.html";
  ASSERT_TRUE(WriteHtmlDocument(path, writer.GetDocument()));
  const std::string bytes = test::ReadFile(path);
  EXPECT_NE(bytes.find("by &#1044;&#1080;&#1084;&#1072; M\xFCller<br>"), std::string::npos);
  // Apart from that name the document is plain ASCII, so nothing else changed.
  std::string expected = writer.GetDocument();
  const std::string utf8Name = options.diverName;
  expected.replace(expected.find(utf8Name), utf8Name.size(), "&#1044;&#1080;&#1084;&#1072; M\xFCller");
  EXPECT_EQ(bytes, expected);
  EXPECT_FALSE(WriteHtmlDocument(test::TempDir() + "/missing/dir/tables.html", "x"));
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// Tables used to be written in place: a failed write left a truncated
// document where the user's old one had been.
TEST(Latin1, AFailedWriteKeepsTheOldDocument) {
  const std::string path = test::TempDir() + "/kept.html";
  ASSERT_TRUE(WriteHtmlDocument(path, "<html>old</html>"));
  class CFailingStore final : public IFileStore {
  public:
    bool Read(const std::string&, std::string&) override { return false; }
    bool Write(const std::string&, const std::string&) override { return false; }
  } failing;
  SetFileStore(&failing);
  EXPECT_FALSE(WriteHtmlDocument(path, "<html>new</html>"));
  SetFileStore(nullptr);
  EXPECT_EQ(test::ReadFile(path), "<html>old</html>");
}

}  // namespace
}  // namespace kv
