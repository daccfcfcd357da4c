#include "foundation/Csv.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace kzm
