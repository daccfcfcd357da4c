#include "foundation/ColorScheme.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/EmbeddedResources.h"
#include "common/TestPaths.h"

namespace kzm {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

std::string DataFile(const std::string& name) {
  return test::SourceDir() + "/tests/data/graphics/colors/" + name;
}

std::string ColorFile(const std::string& body) {
  std::string bytes;
  EXPECT_TRUE(EncodeCp932("<?xml version=\"\" encoding=\"shift_jis\" ?>\r\n<colors>" + body + "</colors>\r\n", bytes));
  return bytes;
}

TEST(ColorScheme, DefaultsHoldEveryKeyOfTheScreens) {
  struct TCase {
    const char* path;
    TColor color;
  };
  const TCase cases[] = {
      {"全般\\背景色", 0xFFFFFF},          {"全般\\丸ボタン", 0xFFFEF8},
      {"月間表示\\ライン", 0xF0A080},      {"月間表示\\年表示", 0xFFC0C0},
      {"月間表示\\セル\\選択", 0x800000},  {"月間表示\\セル\\日付", 0xFFC0C0},
      {"月間表示\\セル\\収入", 0xFEF0F0},  {"月間表示\\セル\\支出1", 0xFFF0F0},
      {"月間表示\\セル\\支出2", 0xFFD0D0}, {"月間表示\\セル\\資産", 0xFFE0E0},
      {"月間表示\\セル\\固定", 0xFFFFFF},  {"月間表示\\文字\\通常", 0x000000},
      {"月間表示\\文字\\選択", 0xFFFFFF},  {"月間表示\\文字\\日曜", 0x0000FF},
      {"月間表示\\文字\\土曜", 0xFF0000},  {"月間表示\\文字\\薄色", 0xD0A0A0},
      {"日データ入力\\セル\\支出", 0x303060}, {"日データ入力\\セル\\収入", 0x603030},
      {"日データ入力\\セル\\資産移動", 0x306030}, {"日データ入力\\セル\\入力", 0xFFFFFF},
      {"日データ入力\\セル\\ライン", 0xA0A0A0}, {"日データ入力\\文字\\通常", 0x000000},
      {"日データ入力\\文字\\反転", 0xFFFFFF}, {"日データ入力\\文字\\小計", 0xA0A0A0},
  };
  TColorsList scheme;
  scheme.LoadDefaultColors();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(scheme.GetColor(c.path, 0x123456), c.color);
  }
  EXPECT_EQ(scheme.TagName(), "colors");
  EXPECT_EQ(ColorScheme().GetColor("全般\\丸ボタン"), 0xFFFEF8u);
}

TEST(ColorScheme, PassbookWithoutColourFileGetsTheDefaults) {
  TTempFolder dir;
  TColorsList scheme(dir.File("Colors.clr"));
  scheme.SetValue("全般\\丸ボタン", "$000001");
  scheme.LoadColors();
  EXPECT_EQ(scheme.GetColor("全般\\丸ボタン"), 0xFFFEF8u);
}

TEST(ColorScheme, Fallbacks) {
  TTempFolder dir;
  WriteBytes(dir.File("Colors.clr"),
             ColorFile("<月間表示><文字><日曜>$00FF00</日曜></文字></月間表示><全般><背景色 /><丸ボタン>blue</丸ボタン></全般>"));
  TColorsList scheme(dir.File("Colors.clr"));
  scheme.LoadColors();
  const TColor sunday = scheme.GetColor("月間表示\\文字\\日曜");
  EXPECT_EQ(sunday, 0x00FF00u);
  EXPECT_EQ(scheme.GetColor("月間表示\\文字\\祝日", sunday), 0x00FF00u);
  EXPECT_EQ(scheme.GetColor("全般\\背景色", kColorWhite), kColorWhite);   // empty
  EXPECT_EQ(scheme.GetColor("月間表示\\セル\\選択"), kColorFallback);    // missing
  EXPECT_EQ(scheme.GetColor("全般\\丸ボタン"), 0u);                      // unreadable: black
}

TEST(ColorScheme, ReadingAMissingColourWritesItEmpty) {
  TTempFolder dir;
  TColorsList scheme;
  scheme.LoadDefaultColors();
  const TColor sunday = scheme.GetColor("月間表示\\文字\\日曜");
  EXPECT_EQ(scheme.GetColor("月間表示\\文字\\祝日", sunday), sunday);
  scheme.SaveColorsTo(dir.File("Colors.clr"));
  EXPECT_EQ(ReadBytes(dir.File("Colors.clr")), ReadBytes(DataFile("holiday-read.clr")));

  TColorsList again;
  again.LoadColorsFrom(dir.File("Colors.clr"));
  EXPECT_TRUE(again.FileName().empty());
  EXPECT_EQ(again.GetColor("月間表示\\文字\\祝日", again.GetColor("月間表示\\文字\\日曜")), 0x0000FFu);
}

TEST(ColorScheme, UnchangedDefaultsSaveAsTheResource) {
  TTempFolder dir;
  TColorsList scheme(dir.File("Colors.clr"));
  scheme.LoadColors();
  scheme.SaveColors();
  const auto resource = FindEmbeddedResource("colors");
  ASSERT_TRUE(resource.has_value());
  EXPECT_EQ(ReadBytes(dir.File("Colors.clr")), std::string(*resource));
}

TEST(ColorScheme, SetColorWritesDollarAndUpperCaseHex) {
  struct TCase {
    TColor color;
    const char* text;
  };
  const TCase cases[] = {
      {0x0000FF, "$0000FF"}, {0xFF0000, "$FF0000"}, {0, "$000000"},
      {0xabcdef, "$ABCDEF"}, {0x80000005, "$80000005"}, {0x1000000, "$1000000"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    TColorsList scheme;
    scheme.SetColor("全般\\背景色", c.color);
    EXPECT_EQ(scheme.Value("全般/背景色"), c.text);
    EXPECT_EQ(scheme.GetColor("全般\\背景色"), c.color);
  }
}

TEST(ColorScheme, ColourTexts) {
  struct TCase {
    const char* text;
    TColor color;
  };
  const TCase cases[] = {
      {"16777215", 0xFFFFFF}, {"$FF", 0xFF},         {" $00ff00 ", 0x00FF00}, {"0x10", 0x10},
      {"-1", 0xFFFFFFFF},     {"$FFFFFFFF", 0xFFFFFFFF}, {"$100000000", 0},     {"2147483648", 0},
      {"-2147483648", 0x80000000}, {"blue", 0},      {"$", 0},                {"12x", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseColor(c.text), c.color);
  }
}

TEST(ColorScheme, MalformedFileIsReported) {
  TTempFolder dir;
  WriteBytes(dir.File("Colors.clr"), "<colors><全般></colors>");
  TColorsList scheme(dir.File("Colors.clr"));
  EXPECT_THROW(scheme.LoadColors(), ExmlParseError);
}

TEST(ColorScheme, InstalledSchemeIsTheProgramsScheme) {
  TColorsList mine;
  mine.SetColor("全般\\背景色", 0x123456);
  SetColorScheme(&mine);
  EXPECT_EQ(ColorScheme().GetColor("全般\\背景色"), 0x123456u);
  SetColorScheme(nullptr);
  EXPECT_EQ(ColorScheme().GetColor("全般\\背景色"), 0xFFFFFFu);
}

}  // namespace
}  // namespace kzm
