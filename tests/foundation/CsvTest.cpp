#include "foundation/Csv.h"

#include <gtest/gtest.h>

#include <random>

#include "common/CrLfText.h"

namespace kzm {
namespace {

using TFields = std::vector<std::string>;

TEST(Csv, Split) {
  const std::vector<std::pair<std::string, TFields>> cases = {
      {"a,b,c", {"a", "b", "c"}},
      {"", {""}},
      {"a,", {"a", ""}},
      {",", {"", ""}},
      {"\"a,b\",c", {"a,b", "c"}},
      {"\"a,b\"", {"a,b"}},
      {"\"a,b\",", {"a,b", ""}},
      {"x\\ny", {"x\r\ny"}},
      {"\"say \"\"hi\"\", ok\"", {"say \"hi\", ok"}},
      {"a\"b,c", {"a\"b", "c"}},          // a quote inside an unquoted field is plain
      {"\"open,never closed", {"open,never closed"}},
      {"\"\",x", {"", "x"}},
      {"\"a\\\",b\",c", {"a\\\",b", "c"}},  // a quote after "\" does not close
      {"\"表,ソ\",次", {"表,ソ", "次"}},       // fields end on characters whose CP932 form ends in 0x5C
  };
  for (const auto& [line, fields] : cases) {
    SCOPED_TRACE(line);
    EXPECT_EQ(CsvSplit(line), fields);
  }
}

TEST(Csv, JoinWritesTheDialect) {
  EXPECT_EQ(CsvJoin({"a", "b", "c"}), "a,b,c");
  EXPECT_EQ(CsvJoin({"a,b", "x"}), "\"a,b\",x");
  EXPECT_EQ(CsvJoin({"say \"hi\", ok"}), "\"say \"\"hi\"\", ok\"");
  EXPECT_EQ(CsvJoin({"a\"b"}), "a\"b");
  EXPECT_EQ(CsvJoin({"two\r\nlines"}), "two\\nlines");
  EXPECT_EQ(CsvJoin({}), "");
  EXPECT_EQ(CsvJoin({""}), "");
}

TEST(Csv, JoinThenSplitGivesTheFieldsBack) {
  const std::vector<TFields> cases = {
      {"20240305", "食費", "昼食,パン", "-298", ""},
      {"a\"b", "\"quoted\"", "x\"\"y", "\""},
      {"line\r\nbreak", "lf\nonly", "表", "ソ,ソ"},
      {"", "", ""},
  };
  for (const TFields& fields : cases) {
    const std::string line = CsvJoin(fields);
    SCOPED_TRACE(line);
    EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
    TFields expected = fields;
    for (std::string& f : expected) {
      if (f == "lf\nonly") f = "lf\r\nonly";  // every line break reads back as CR LF
    }
    EXPECT_EQ(CsvSplit(line), expected);
  }
}

// Texts the older dialect could not carry: each one now reads back as written.
TEST(Csv, TextsWithBackslashesComeBack) {
  const std::vector<std::pair<TFields, std::string>> cases = {
      {{"パン,牛乳\\", "次"}, "\"パン,牛乳\\\\\",次"},  // "\" before the closing quote
      {{"C:\\new", "x"}, "C:\\\\new,x"},                   // the letter n after "\"
      {{"\\\r\nend"}, "\\\\\\nend"},                    // "\" before a line break
      {{"a,\\\"", "b"}, "\"a,\\\\\"\"\",b"},            // "\" before a quote, in quotes
      {{"a\\\"b", "\\"}, "a\\\"b,\\"},                  // plain fields stay plain
      {{"\\\\n"}, "\\\\\\\\n"},
  };
  for (const auto& [fields, line] : cases) {
    SCOPED_TRACE(line);
    EXPECT_EQ(CsvJoin(fields), line);
    EXPECT_EQ(CsvSplit(line), fields);
  }
}

// A damaged line whose last field opens a quote that never closes: the field runs to the end
// of the line, and the backslashes it ends in stay as they are, since no closing quote made
// the writer double them.
TEST(Csv, AnUnclosedLastFieldKeepsTheBackslashesItEndsIn) {
  const std::vector<std::pair<std::string, TFields>> cases = {
      {"20240305,\"memo\\", {"20240305", "memo\\"}},
      {"20240305,\"memo\\\\", {"20240305", "memo\\\\"}},
      {"20240305,\"a,b\\\\\\", {"20240305", "a,b\\\\\\"}},
      {"20240305,\"\\", {"20240305", "\\"}},
      {"20240305,\"memo\\\"", {"20240305", "memo\\\""}},  // an odd run hides the last quote
  };
  for (const auto& [line, fields] : cases) {
    SCOPED_TRACE(line);
    EXPECT_EQ(CsvSplit(line), fields);
    std::vector<std::string_view> views;
    TFields texts;
    CsvSplitViews(line, views, texts);
    EXPECT_EQ(TFields(views.begin(), views.end()), fields);
  }
}

// Exported texts never start what a spreadsheet runs as a formula; other texts stay.
TEST(Csv, ExportedTextsGetAQuoteBeforeAFormulaStart) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"=HYPERLINK(\"x\")", "'=HYPERLINK(\"x\")"},
      {"+cmd|' /C calc'!A0", "'+cmd|' /C calc'!A0"},
      {"-2+3", "'-2+3"},
      {"@SUM(A1)", "'@SUM(A1)"},
      {"\tx", "'\tx"},
      {"\rx", "'\rx"},
      {"", ""},
      {"a=b", "a=b"},
      {"'=quoted", "'=quoted"},
      {"＝全角", "＝全角"},
      {" =blank first", " =blank first"},
  };
  for (const auto& [text, exported] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ExportedText(text), exported);
  }
}

// Lines as the older writer wrote them read as they always did.
TEST(Csv, OlderLinesReadAsBefore) {
  const std::vector<std::pair<std::string, TFields>> cases = {
      {"C:\\temp\\x,\\\\server", {"C:\\temp\\x", "\\\\server"}},
      {"one\\ntwo", {"one\r\ntwo"}},
      {"\"a,\\\"\"b\",c", {"a,\\\"b", "c"}},  // an odd run before a quote hides it
      {"end\\,x", {"end\\", "x"}},
      {"\"\"\"q\"\"\",x", {"\"q\"", "x"}},
  };
  for (const auto& [line, fields] : cases) {
    SCOPED_TRACE(line);
    EXPECT_EQ(CsvSplit(line), fields);
  }
}

using test::WithCrLf;

// Any text made of the characters that matter to the dialect reads back as written; a lone CR
// or LF comes back as CR LF, the line break of the files.
TEST(Csv, EveryTextComesBack) {
  const std::vector<std::string> pieces = {"a", ",", "\"", "\\", "n", "\r\n", "\r", "\n", "表", "ソ", " "};
  std::mt19937 random(20240305);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  for (int round = 0; round < 20000; ++round) {
    TFields fields(1 + pick(5));
    for (std::string& field : fields) {
      for (size_t length = pick(10); length > 0; --length) field += pieces[pick(pieces.size())];
    }
    const std::string line = CsvJoin(fields);
    SCOPED_TRACE(line);
    ASSERT_EQ(line.find_first_of("\r\n"), std::string::npos);
    TFields expected;
    for (const std::string& field : fields) expected.push_back(WithCrLf(field));
    ASSERT_EQ(CsvSplit(line), expected);
  }
}

// Lines read one after another into the same lists, as month files are read, give the fields
// a fresh split gives, whether as strings or as views, for any mix of the characters that
// matter to the dialect (written by us or not).
TEST(Csv, SplittingLineAfterLineReadsEachLineAlone) {
  const std::vector<std::string> pieces = {"a", ",", ",", "\"", "\\", "n", "表", "ソ", "long text for the heap"};
  std::mt19937 random(20261209);
  auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
  TFields strings;
  std::vector<std::string_view> views;
  TFields texts;
  for (int round = 0; round < 20000; ++round) {
    std::string line;
    for (size_t length = pick(16); length > 0; --length) line += pieces[pick(pieces.size())];
    SCOPED_TRACE(line);
    const TFields expected = CsvSplit(line);
    CsvSplit(line, strings);
    ASSERT_EQ(strings, expected);
    CsvSplitViews(line, views, texts);
    ASSERT_EQ(TFields(views.begin(), views.end()), expected);
  }
}

TEST(ExportedText, TextThatASpreadsheetWouldRunGetsAQuoteFirst) {
  const struct {
    const char* text;
    const char* safe;
  } cases[] = {
      {"=SUM(A1)", "'=SUM(A1)"}, {"+81", "'+81"}, {"-返品", "'-返品"}, {"@x", "'@x"},
      {"\tx", "'\tx"},          {"\rx", "'\rx"},  {"食費=外食", "食費=外食"}, {"", ""},
      {" =x", " =x"},           {"'=x", "'=x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ExportedText(c.text), c.safe);
  }
}

}  // namespace
}  // namespace kzm
