#include "foundation/Text.h"

#include <gtest/gtest.h>

#include <vector>

namespace kzm {
namespace {

TEST(Text, CopyRangeCopyFromPosFrom) {
  EXPECT_EQ(CopyRange("abcdef", 2, 4), "bcd");
  EXPECT_EQ(CopyRange("abcdef", -5, 2), "ab");
  EXPECT_EQ(CopyRange("abcdef", 5, 99), "ef");
  EXPECT_EQ(CopyRange("abcdef", 4, 3), "");
  EXPECT_EQ(CopyRange("abc", 9, 12), "");
  EXPECT_EQ(CopyFrom("abcdef", 3), "cdef");
  EXPECT_EQ(CopyFrom("abc", 0), "abc");
  EXPECT_EQ(CopyFrom("abc", 4), "");
  EXPECT_EQ(PosFrom("b", "abcabc", 1), 2);
  EXPECT_EQ(PosFrom("b", "abcabc", 3), 5);
  EXPECT_EQ(PosFrom("x", "abc", 1), 0);
  EXPECT_EQ(PosFrom("", "abc", 1), 0);
  EXPECT_EQ(PosFrom("b", "abc", 99), 0);
  EXPECT_EQ(PosFrom("帳", "通帳通帳", 4), 4);
  EXPECT_EQ(PosFrom("帳", "通帳通帳", 5), 10);
}

TEST(Text, StripTrailingBackslashes) {
  EXPECT_EQ(StripTrailingBackslashes("/home/a/"), "/home/a");
  EXPECT_EQ(StripTrailingBackslashes("/home/a///"), "/home/a");
  EXPECT_EQ(StripTrailingBackslashes("/"), "");
  EXPECT_EQ(StripTrailingBackslashes("a"), "a");
}

TEST(Text, XmlEscapeAndUnescape) {
  EXPECT_EQ(XmlEscape("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
  EXPECT_EQ(XmlUnescape("a&lt;b&gt;&amp;&quot;c&apos;"), "a<b>&\"c'");
  EXPECT_EQ(XmlUnescape("&amp;lt;"), "&lt;");  // each replacement runs once, &amp; last
  EXPECT_EQ(XmlUnescape(XmlEscape("&amp; <x>")), "&amp; <x>");
}

TEST(Text, FormatThousands) {
  const std::vector<std::pair<int64_t, std::string>> cases = {
      {0, "0"}, {999, "999"}, {1000, "1,000"}, {-1000, "-1,000"}, {-123, "-123"},
      {100000, "100,000"}, {-100000, "-100,000"}, {1200000, "1,200,000"},
      {INT32_MIN, "-2,147,483,648"}, {INT64_MIN, "-9,223,372,036,854,775,808"},
  };
  for (const auto& [number, text] : cases) {
    SCOPED_TRACE(number);
    EXPECT_EQ(FormatThousands(number), text);
  }
}

TEST(Text, ParseAmount) {
  const std::vector<std::pair<std::string, int32_t>> cases = {
      {"\\1,234", 1234}, {"¥1,234", 1234}, {"￥1,234", 1234}, {"1,2,3,4", 1234}, {"-1,000", -1000},
      {" 42 ", 42}, {"+7", 7}, {"食費", 0}, {"", 0}, {"12a", 0}, {"2147483647", 2147483647},
      {"2147483648", 0}, {"-2147483648", INT32_MIN}, {"1.5", 0}, {"--1", 0}, {"+-1", 0},
  };
  for (const auto& [text, value] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ParseAmount(text), value);
  }
}

TEST(Text, FitTextKeepsWholeCharacters) {
  // Every byte counts one pixel, so a kanji is three wide.
  const TTextWidth bytes = [](std::string_view s) { return static_cast<int>(s.size()); };
  EXPECT_EQ(FitText("abcdef", bytes, 6), "abcdef");
  EXPECT_EQ(FitText("abcdef", bytes, 5), "abc..");
  EXPECT_EQ(FitText("abcdef", bytes, 1), "..");
  EXPECT_EQ(FitText("食費です", bytes, 9), "食費..");
  EXPECT_EQ(FitText("食費です", bytes, 7), "食..");
  EXPECT_EQ(FitText("食費です", bytes, 4), "..");
  EXPECT_EQ(FitText("", bytes, 0), "");
}

TEST(Text, CaseAndTrim) {
  EXPECT_EQ(UpperCase("Date年a"), "DATE年A");
  EXPECT_EQ(LowerCase("DATE年A"), "date年a");
  EXPECT_TRUE(SameText("Key", "kEY"));
  EXPECT_FALSE(SameText("Key", "Keys"));
  EXPECT_EQ(Trim("\t a b \r\n"), "a b");
  EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
}

}  // namespace
}  // namespace kzm
