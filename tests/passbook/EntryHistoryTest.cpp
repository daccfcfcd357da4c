#include "passbook/EntryHistory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "foundation/Codec.h"

namespace kzm {
namespace {

using Values = std::vector<std::string>;

std::string Sjis(const std::string& utf8) {
  std::string bytes;
  EXPECT_TRUE(EncodeCp932(utf8, bytes));
  return bytes;
}

TEST(EntryHistory, FileNamesArePlainUnlessUnsafe) {
  struct TCase {
    std::string name;
    int column;
    std::string file;
  };
  const TCase cases[] = {
      {"食費", 1, "食費1"},  // as other copies name it
      {"住居･光熱", 4, "住居･光熱4"},
      {"a.b", 2, "a.b2"},
      {"../x", 1, "%2E.%2Fx1"},
      {"..", 1, "%2E.1"},
      {".hidden", 4, "%2Ehidden4"},
      {"a\\b", 1, "a%5Cb1"},
      {"50%", 1, "50%251"},
      {"tab\there", 1, "tab%09here1"},
      {"", 1, "1"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string file = HistoryFileName(c.name, c.column);
    EXPECT_EQ(file, c.file);
    EXPECT_EQ(file.find('/'), std::string::npos);
  }
  EXPECT_NE(HistoryFileName("a%2Fb", 1), HistoryFileName("a/b", 1));
}

TEST(EntryHistory, NewestFirstDistinctWithoutCaseAndAtMostTen) {
  test::TTempFolder temp;
  const std::string folder = temp.Path() + "/cash";
  Values values;
  EXPECT_FALSE(ReadHistory(folder, "食費", 1, values));  // no file: nothing to offer

  for (const char* v : {"パン", "milk", "卵"}) ASSERT_TRUE(RecordHistory(folder, "食費", 1, v));
  ASSERT_TRUE(ReadHistory(folder, "食費", 1, values));
  EXPECT_EQ(values, (Values{"卵", "milk", "パン"}));
  EXPECT_EQ(test::ReadBytes(folder + "/食費1"), Sjis("卵\r\nmilk\r\nパン\r\n"));

  ASSERT_TRUE(RecordHistory(folder, "食費", 1, "MILK"));  // moves to the top, as typed now
  ASSERT_TRUE(RecordHistory(folder, "食費", 1, "ｍｉｌｋ"));  // full-width letters differ
  ASSERT_TRUE(RecordHistory(folder, "食費", 1, "卵"));
  ReadHistory(folder, "食費", 1, values);
  EXPECT_EQ(values, (Values{"卵", "ｍｉｌｋ", "MILK", "パン"}));

  for (int i = 0; i < 12; ++i) ASSERT_TRUE(RecordHistory(folder, "食費", 1, "v" + std::to_string(i)));
  ReadHistory(folder, "食費", 1, values);
  ASSERT_EQ(values.size(), 10U);
  EXPECT_EQ(values.front(), "v11");
  EXPECT_EQ(values.back(), "v2");

  ASSERT_TRUE(RecordHistory(folder, "食費", 1, ""));  // nothing recorded for an empty cell
  ReadHistory(folder, "食費", 1, values);
  EXPECT_EQ(values.front(), "v11");
}

TEST(EntryHistory, UnsafeNameStaysInsideTheFolder) {
  test::TTempFolder temp;
  const std::string folder = temp.Path() + "/book/cash";
  ASSERT_TRUE(RecordHistory(folder, "../x", 1, "value"));
  EXPECT_FALSE(std::filesystem::exists(temp.Path() + "/book/x1"));
  std::vector<std::string> inside;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) inside.push_back(entry.path().filename());
  EXPECT_EQ(inside, (Values{"%2E.%2Fx1"}));
  Values values;
  ASSERT_TRUE(ReadHistory(folder, "../x", 1, values));
  EXPECT_EQ(values, (Values{"value"}));
}

TEST(EntryHistory, BadFilesGiveNothingAndAreKeptUntilAValueIsStored) {
  test::TTempFolder temp;
  const std::string folder = temp.Path();
  struct TCase {
    std::string label;
    std::string bytes;
  };
  const TCase cases[] = {
      {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0", 11)},
      {"huge", std::string(200 * 1024, 'a')},
      {"empty", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.label);
    const std::string path = folder + "/食費4";
    test::WriteBytes(path, c.bytes);
    Values values;
    EXPECT_FALSE(ReadHistory(folder, "食費", 4, values));
    EXPECT_TRUE(values.empty());
    EXPECT_EQ(test::ReadBytes(path), c.bytes);
    ASSERT_TRUE(RecordHistory(folder, "食費", 4, "new"));
    EXPECT_EQ(test::ReadBytes(path), "new\r\n");
  }
  // A folder where the file should be cannot be read or replaced.
  std::filesystem::create_directory(folder + "/食費2");
  Values values;
  EXPECT_FALSE(ReadHistory(folder, "食費", 2, values));
  EXPECT_FALSE(RecordHistory(folder, "食費", 2, "x"));
  EXPECT_TRUE(std::filesystem::is_directory(folder + "/食費2"));
}

TEST(EntryHistory, ValueShiftJisCannotHoldIsNotWritten) {
  test::TTempFolder temp;
  ASSERT_TRUE(RecordHistory(temp.Path(), "食費", 1, "old"));
  EXPECT_FALSE(RecordHistory(temp.Path(), "食費", 1, "cake 🍰"));
  EXPECT_EQ(test::ReadBytes(temp.File("食費1")), "old\r\n");
}

}  // namespace
}  // namespace kzm
