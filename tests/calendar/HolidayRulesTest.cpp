#include "calendar/HolidayRules.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/Almanac.h"
#include "foundation/Codec.h"

namespace kzm {
namespace {

// A rule document as stored: CP932 with the declaration the shipped text has.
std::string Document(std::string_view body, std::string_view root = "specialday") {
  const std::string text = std::string("<?xml version=\"\" encoding=\"shift_jis\" ?>\r\n<") +
                           std::string(root) + ">\r\n" + std::string(body) + "\r\n</" +
                           std::string(root) + ">\r\n";
  std::string bytes;
  EXPECT_TRUE(EncodeCp932(text, bytes));
  return bytes;
}

std::string OneRule(std::string_view attributes) {
  return Document(std::string("<holiday mean=\"意味\">日<date ") + std::string(attributes) +
                  " /></holiday>");
}

int YearOf(TDayNumber day) { return DecodeDate(day).year; }

TEST(HolidayRules, DateAttributes) {
  struct Case {
    const char* attributes;
    int month, day, weekday, times, ecliptic, startYear, endYear;
  };
  const Case cases[] = {
      {R"(month="2" day= "11" start="1967")", 2, 11, -1, -1, -1, 1967, 2999},
      {R"(month="1" dayoftheweek="Monday" times="2" start="2000")", 1, -1, 1, 2, -1, 2000, 2999},
      {R"(dayoftheweek="SUNDAY")", -1, -1, 7, -1, -1, 1, 2999},
      {R"(dayoftheweek="Mon" times="x")", -1, -1, -1, -1, -1, 1, 2999},
      {R"(ecliptic="180" end="2002")", -1, -1, -1, -1, 180, 1, 2002},
      {R"(month="" day=" 7 ")", -1, 7, -1, -1, -1, 1, 2999},
      {R"(month="7" day="23" start="1990" end="1995" year="2020")", 7, 23, -1, -1, -1, 2020, 2020},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.attributes);
    const std::vector<TSpecialDays> rules = ReadHolidayRules(OneRule(c.attributes));
    ASSERT_EQ(rules.size(), 1u);
    const TSpecialDays& rule = rules[0];
    EXPECT_EQ(rule.month, c.month);
    EXPECT_EQ(rule.day, c.day);
    EXPECT_EQ(rule.dayoftheweek, c.weekday);
    EXPECT_EQ(rule.times, c.times);
    EXPECT_EQ(rule.ecliptic, c.ecliptic);
    EXPECT_EQ(YearOf(rule.start), c.startYear);
    EXPECT_EQ(YearOf(rule.end), c.endYear);
    EXPECT_EQ(DecodeDate(rule.end).month, 12);
  }
}

TEST(HolidayRules, YearsThatMakeNoDateLeaveTheRuleOut) {
  for (const char* attributes : {R"(month="1" day="1" start="19")", R"(month="1" day="1" end="abcd")",
                                 R"(month="1" day="1" year="0")", R"(month="1" day="1" start="12345")"}) {
    SCOPED_TRACE(attributes);
    EXPECT_TRUE(ReadHolidayRules(OneRule(attributes)).empty());
  }
}

TEST(HolidayRules, NamedDays) {
  const std::vector<TSpecialDays> rules = ReadHolidayRules(Document(
      "<holiday mean=\"ひとつ目\">\r\n\t\tA &amp; B\r\n\t\t<date month=\"1\" day=\"1\" />\r\n"
      "\t\t<note month=\"2\" day=\"2\" />\r\n\t\t<date month=\"3\" day=\"3\" />\r\n\t</holiday>\r\n"
      "<memorial>記念日<date month=\"6\" day=\"1\" /></memorial>\r\n"
      "<holiday>式典</holiday>"));
  ASSERT_EQ(rules.size(), 3u);
  EXPECT_EQ(rules[0].name, "A & B");
  EXPECT_EQ(rules[0].mean, "ひとつ目");
  EXPECT_EQ(rules[0].kind, "holiday");
  EXPECT_EQ(rules[1].month, 3);  // the <note> child is no rule
  EXPECT_EQ(rules[1].name, "A & B");
  EXPECT_EQ(rules[2].kind, "memorial");
  EXPECT_EQ(rules[2].name, "記念日");
}

TEST(HolidayRules, DocumentsWithoutRules) {
  EXPECT_TRUE(ReadHolidayRules(Document("<holiday>元日<date month=\"1\" day=\"1\" /></holiday>", "holidays")).empty());
  EXPECT_TRUE(ReadHolidayRules("").empty());
  Talmanac almanac;
  almanac.SetDate(EncodeDate(2004, 1, 1));
  EXPECT_TRUE(almanac.LoadRules(OneRule(R"(month="1" day="1")")));
  EXPECT_EQ(almanac.HolidayName(), "日");
  // A malformed document leaves no rules behind, not the old ones.
  EXPECT_FALSE(almanac.LoadRules(Document("<holiday>元日<date month=\"1\" day=\"1\"></holiday>")));
  EXPECT_TRUE(almanac.Rules().empty());
  EXPECT_FALSE(almanac.IsHoliday());
}

}  // namespace
}  // namespace kzm
