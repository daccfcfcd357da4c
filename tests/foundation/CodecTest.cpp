#include "foundation/Codec.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

namespace kzm {
namespace {

// iconv's own answer for one byte sequence, converted in one call; empty when invalid.
std::string IconvConvert(const char* to, const char* from, const std::string& in) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(16, '\0');
  char* inPtr = const_cast<char*>(in.data());
  size_t inLeft = in.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == static_cast<size_t>(-1) || inLeft != 0) return {};
  out.resize(out.size() - outLeft);
  return out;
}

// Every single- and double-byte code that iconv's CP932 accepts as exactly one character.
std::vector<std::string> AllCp932Codes() {
  std::vector<std::string> codes;
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    if (!IconvConvert("UTF-8", "CP932", one).empty() || b == 0) codes.push_back(one);
  }
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string two{static_cast<char>(lead), static_cast<char>(trail)};
      if (!IconvConvert("UTF-8", "CP932", two).empty()) codes.push_back(two);
    }
  }
  return codes;
}

TEST(Codec, EveryCodeDecodesAsIconvAndEncodesAsWindows) {
  const std::vector<std::string> codes = AllCp932Codes();
  ASSERT_GT(codes.size(), 7900u);  // about 7,900 double-byte codes plus the single bytes
  int duplicates = 0;
  for (const std::string& code : codes) {
    const std::string utf8 = code == std::string(1, '\0') ? code : IconvConvert("UTF-8", "CP932", code);
    SCOPED_TRACE(testing::Message() << std::hex << "code " << (static_cast<unsigned char>(code[0]) << 8 |
                                                              static_cast<unsigned char>(code.back())));
    EXPECT_EQ(DecodeCp932(code), utf8);
    std::string back;
    ASSERT_TRUE(EncodeCp932(utf8, back));
    // Windows' code for the character; differs from code only for the duplicates.
    const std::string windows = code == std::string(1, '\0') ? code : IconvConvert("CP932", "UTF-8", utf8);
    EXPECT_EQ(back, windows);
    if (back != code) {
      ++duplicates;
      EXPECT_EQ(DecodeCp932(back), utf8);
    }
  }
  EXPECT_GT(duplicates, 300);
  EXPECT_LT(duplicates, 500);
}

TEST(Codec, BackslashAndTildeAreAscii) {
  EXPECT_EQ(DecodeCp932("\\~"), "\\~");
  EXPECT_EQ(DecodeCp932("\x95\x5C"), "表");  // 0x5C as a trail byte stays inside the character
  EXPECT_EQ(DecodeCp932("\x83\x5C"), "ソ");
}

TEST(Codec, BrokenBytesSurviveARoundTrip) {
  const std::vector<std::string> cases = {
      std::string("\x80", 1),            // never a character
      std::string("abc\xFD\xFE\xFF", 6),
      std::string("\x82", 1),            // lead byte at the end
      std::string("\x82\x20x", 3),       // lead byte before a byte that cannot follow it
      std::string("\x81\x7F\x82\xA0", 4),
      std::string("a\0b", 3),
      std::string("\xF4\x8F\xBC\x80", 4),  // UTF-8 of a private code point, read as CP932
      // A lead byte kept before a duplicate code: the duplicate's usual code would pair with it.
      std::string("\xEE\xEE\xEE\xDC\xEE\xFD\xA2", 7),
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    const std::string text = DecodeCp932(bytes);
    std::string back;
    ASSERT_TRUE(EncodeCp932(text, back));
    EXPECT_EQ(back, bytes);
  }
  // A lead byte followed by a valid character keeps that character.
  EXPECT_EQ(DecodeCp932("\x82\x20x").substr(4), " x");
}

TEST(Codec, AllByteValuesInEveryPositionRoundTrip) {
  std::string bytes;
  for (int a = 0; a < 256; ++a) {
    bytes.push_back(static_cast<char>(a));
    bytes.push_back(static_cast<char>(255 - a));
    bytes.push_back(static_cast<char>(a * 7));
  }
  std::string back;
  ASSERT_TRUE(EncodeCp932(DecodeCp932(bytes), back));
  // Only the duplicate codes may change, and only to their twin.
  EXPECT_EQ(DecodeCp932(back), DecodeCp932(bytes));
  EXPECT_EQ(back.size(), bytes.size());
}

TEST(Codec, CharactersOutsideCp932AreRefusedAndNamed) {
  struct Case {
    std::string text;
    std::string bad;
  };
  const std::vector<Case> cases = {
      {"食費😀です", "😀"},
      {"caf\xC3\xA9", "\xC3\xA9"},     // é
      {"x\xFFy", "\xFF"},              // not UTF-8
      {"\xED\xA0\x80", "\xED"},        // a surrogate
      {"\xC0\xAF", "\xC0"},            // overlong
      {"\xE3\x81", "\xE3"},            // cut short
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    std::string out;
    std::string bad;
    EXPECT_FALSE(EncodeCp932(c.text, out, &bad));
    EXPECT_EQ(bad, c.bad);
    EXPECT_FALSE(IsCp932Encodable(c.text));
  }
  EXPECT_TRUE(IsCp932Encodable("もるぽ通帳 ￥1,234 ①Ⅹ"));
}

TEST(Codec, JapaneseTextBothWays) {
  const std::string sjis = "\x90\x48\x94\xEF,\x8E\x78\x8F\x6F";  // 食費,支出
  EXPECT_EQ(DecodeCp932(sjis), "食費,支出");
  std::string out;
  ASSERT_TRUE(EncodeCp932("食費,支出", out));
  EXPECT_EQ(out, sjis);
}

}  // namespace
}  // namespace kzm
