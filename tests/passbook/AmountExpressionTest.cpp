#include "passbook/AmountExpression.h"

#include <gtest/gtest.h>

namespace kzm {
namespace {

TEST(AmountExpression, EvaluatesTheTable) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const Case cases[] = {
      {"1200*3", "3600"},
      {"298*3", "894"},
      {"1000/3", "333"},
      {"5/0", "0"},
      {"3-5", "-2"},
      {"100+50*2", "200"},
      {"2*3-10", "-4"},
      {"", ""},
      // Passes, not precedence, and truncation of every step.
      {"8/2*2", "2"},
      {"10-3+2", "5"},
      {"7/2", "3"},
      {"7/2*2", "1"},
      {"1.9*2", "3"},
      {"-5+3", "-8"},
      // Text without operators and other characters stay as they are.
      {"1.5", "1.5"},
      {"2147483647", "2147483647"},
      {"1 +2", "1 2"},
      {"abc", "abc"},
      // Malformed and missing operands count as 0.
      {"1.2.3+1", "1"},
      {"5--3", "2"},
      {"*4", "0"},
      // Chained subtractions end, reading a leading minus as a sign.
      {"1-2-3", "-4"},
      {"1-2-3-4", "-8"},
      {"-1-3", "-4"},
      {"-3", "-3"},
      {"a-3", "a-3"},
      {"x-1-3", "x-4"},
      {"0-2147483648", "-2147483648"},
      // Results beyond a 32-bit amount are no number at all.
      {"100000*100000", ""},
      {"2147483647+1", ""},
      {"0-2147483649", ""},
      {"99999999999/10", ""},
      {"99999999999/100", "999999999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(EvaluateAmount(c.text), c.expected);
  }
}

TEST(AmountExpression, NumberCharsAreDigitsAndPoint) {
  for (char c : std::string("0123456789.")) EXPECT_TRUE(IsNumberChar(c)) << c;
  for (char c : std::string(" -+*/,e")) EXPECT_FALSE(IsNumberChar(c)) << c;
}

// Every window reads a typed amount this way: yen marks and commas anywhere, then the sum.
TEST(AmountExpression, ReadsTypedAmounts) {
  const struct {
    const char* typed;
    std::optional<int32_t> amount;
  } cases[] = {
      {"¥1,000", 1000}, {" 1000+200 ", 1200}, {"¥1,000+¥200", 1200}, {"￥1,000*2", 2000}, {"\\500", 500},
      {"-1,500", -1500}, {"", std::nullopt}, {"  ", std::nullopt}, {"8万", std::nullopt}, {"1.5", std::nullopt},
      {"99999*99999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadTypedAmount(c.typed), c.amount) << c.typed;
}

}  // namespace
}  // namespace kzm
