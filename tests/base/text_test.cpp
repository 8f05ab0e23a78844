#include "base/text.h"

#include <climits>
#include <cmath>

#include <gtest/gtest.h>

#include "base/units.h"
#include "support/test_support.h"

namespace kv {
namespace {

TEST(TextFormat, PrintfStyleIntoString) {
  EXPECT_EQ(Format("%d/%d", 18, 45), "18/45");
  EXPECT_EQ(Format("%0.0f %s", 49.5, "m"), "50 m");
  EXPECT_EQ(Format("%s", ""), "");
  std::string longText(2000, 'x');
  EXPECT_EQ(Format("<%s>", longText.c_str()), "<" + longText + ">");
}

TEST(TextFormat, CommaLocaleDoesNotChangeNumbers) {
  test::CCommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no comma-decimal locale installed";
  ASSERT_EQ(Format("%0.2f", 12.5), "12.50");
  double v = 0;
  ASSERT_TRUE(ReadNumber("12.50", v));
  EXPECT_EQ(v, 12.5);
  int n = 0;
  EXPECT_TRUE(ReadInt("3.9", n));
  EXPECT_EQ(n, 3);
}

double Read(const char* text, bool expectReadable) {
  double v = -1;
  EXPECT_EQ(ReadNumber(text, v), expectReadable) << text;
  return v;
}

TEST(TextReadNumber, PrefixRules) {
  EXPECT_EQ(Read("  +3.5e2xyz", true), 350);
  EXPECT_EQ(Read("12,5", true), 12);
  EXPECT_EQ(Read(".5", true), 0.5);
  EXPECT_EQ(Read("7.", true), 7);
  EXPECT_EQ(Read("1e", true), 1);     // an exponent without digits is not part of the number
  EXPECT_EQ(Read("2e+x", true), 2);
  EXPECT_EQ(Read("\t-4", true), -4);
  EXPECT_EQ(Read("0x10", true), 0);   // no hexadecimal
}

TEST(TextReadNumber, UnreadableAndExtremeTexts) {
  for (const char* text : {"", ".", "-", "+", "e5", "abc", "nan", "inf", "-infinity", " "})
    EXPECT_EQ(Read(text, false), 0) << text;
  EXPECT_EQ(Read("1e999", true), 0);  // overflow reads as 0, never infinity
  EXPECT_EQ(Read("-1e999", true), 0);
  double zero = Read("-0", true);
  EXPECT_EQ(zero, 0);
  EXPECT_EQ(ReadNumberOr0("x"), 0);
}

TEST(TextReadInt, TruncatesAndClamps) {
  int n = 0;
  EXPECT_TRUE(ReadInt("-3.9", n));
  EXPECT_EQ(n, -3);
  EXPECT_TRUE(ReadInt("1e12", n));
  EXPECT_EQ(n, INT_MAX);
  EXPECT_TRUE(ReadInt("-1e12", n));
  EXPECT_EQ(n, INT_MIN);
  EXPECT_FALSE(ReadInt("x1", n));
  EXPECT_EQ(n, 0);
  EXPECT_TRUE(ReadInt("060", n));
  EXPECT_EQ(n, 60);  // a key written with leading zeros
}

TEST(TextCSParser, FieldsNumberedFromOne) {
  CSParser p("060~21/0,32/0~", '~');
  ASSERT_EQ(p.Count(), 3);
  EXPECT_EQ(p.GetField(1), "060");
  EXPECT_EQ(p.GetField(2), "21/0,32/0");
  EXPECT_EQ(p.GetField(3), "");
  EXPECT_EQ(p.GetField(4), "ERROR: Array index out of range.");
  EXPECT_EQ(p.GetField(0), "ERROR: Array index out of range.");
  EXPECT_EQ(p.GetField(-1), "ERROR: Array index out of range.");

  p.Parse("", ',');
  EXPECT_EQ(p.Count(), 1);
  EXPECT_EQ(p.GetField(1), "");
  p.Parse(",,", ',');
  EXPECT_EQ(p.Count(), 3);
}

TEST(TextLines, AcceptsBothLineEnds) {
  EXPECT_EQ(SplitLines("a\r\nb\n"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitLines("a\n\nb"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\rb\r\n"), (std::vector<std::string>{"a\rb"}));
  EXPECT_TRUE(SplitLines("").empty());
  EXPECT_EQ(ToLower("AiR 32%"), "air 32%");
}

TEST(UnitsRounding, NearestMultipleHalfUp) {
  EXPECT_DOUBLE_EQ(RoundToMultiple(1.604, 0.01), 1.60);
  EXPECT_DOUBLE_EQ(RoundToMultiple(1.609, 0.01), 1.61);
  EXPECT_DOUBLE_EQ(RoundToMultiple(35.5, 1), 36);
  EXPECT_DOUBLE_EQ(RoundToMultiple(35.49, 1), 35);
  EXPECT_DOUBLE_EQ(RoundToMultiple(7.4, 3), 6);
  EXPECT_DOUBLE_EQ(RoundToMultiple(7.5, 3), 9);
  EXPECT_DOUBLE_EQ(RoundToMultiple(12, 3), 12);
  // The whole part is truncated towards zero, the remainder rounded half up.
  EXPECT_DOUBLE_EQ(RoundToMultiple(-2.5, 1), -2);
  EXPECT_DOUBLE_EQ(RoundToMultiple(-2.6, 1), -3);
  EXPECT_DOUBLE_EQ(RoundToMultiple(5.3, 0), 5.3);
  EXPECT_TRUE(std::isnan(RoundToMultiple(std::nan(""), 1)));
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

TEST(TextReadWholeNumber, OnlyATextThatIsOneNumberReads) {
  double v = -7;
  for (const char* text : {"1000.00", " 12.5\t", "-0", "+3.5e2", ".5", "7."}) EXPECT_TRUE(ReadWholeNumber(text, v)) << text;
  EXPECT_EQ(v, 7);
  ASSERT_TRUE(ReadWholeNumber("-0", v));
  EXPECT_FALSE(std::signbit(v)) << "written back as 0.00";
  v = -7;
  for (const char* text : {"4O00.00", "nan", "inf", "1e999", "", " ", "12kg", "0x1p3", "1,5", "1e", "--1"})
    EXPECT_FALSE(ReadWholeNumber(text, v)) << text;
  EXPECT_FALSE(ReadWholeNumber(std::string_view("1\0" "013", 5), v)) << "a NUL inside";
  EXPECT_EQ(v, -7) << "unchanged on failure";

  int n = -7;
  EXPECT_TRUE(ReadWholeInt("-1", n));
  EXPECT_EQ(n, -1);
  EXPECT_TRUE(ReadWholeInt("2147483647", n));
  EXPECT_TRUE(ReadWholeInt("-2147483648", n));
  EXPECT_EQ(n, INT_MIN);
  for (const char* text : {"1.5", "1e3", "2147483648", "99999999999999999999", "", "-", "6O"})
    EXPECT_FALSE(ReadWholeInt(text, n)) << text;
  EXPECT_EQ(n, INT_MIN);
}

}  // namespace
}  // namespace kv
