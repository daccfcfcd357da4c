#include "foundation/KeyedCsvStore.h"

#include <gtest/gtest.h>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"

namespace kzm {
namespace {

using test::ReadBytes;
using test::WriteBytes;

// "rec,<key>,<value>" is a record; any other line is not understood.
std::string KeyOf(const std::vector<std::string>& fields) {
  return fields.size() == 3 && fields[0] == "rec" && !fields[1].empty() ? fields[1] : std::string();
}

class KeyedCsvStoreTest : public ::testing::Test {
 protected:
  bool Load(TKeyedCsvStore& store) {
    std::string error;
    const bool loaded = store.Load(path, KeyOf, error);
    EXPECT_TRUE(error.empty()) << error;
    return loaded;
  }
  test::TTempFolder temp;
  std::string path = temp.File("Keyed.csv");
  test::TRecordingWindowSystem windows;
};

TEST_F(KeyedCsvStoreTest, TheFirstLineOfAKeyCountsAndTheOthersAreToldOnceAndDropped) {
  WriteBytes(path, "rec,a,1\r\nrec,b,2\r\nrec,a,3\r\n");
  TKeyedCsvStore store("テストのファイル", 1024);
  ASSERT_TRUE(Load(store));
  ASSERT_EQ(store.Records().size(), 2u);
  EXPECT_EQ(*store.Get("a"), (std::vector<std::string>{"rec", "a", "1"}));
  EXPECT_EQ(store.DroppedLines(), (std::vector<std::string>{"rec,a,3"}));
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find(path), std::string::npos);
  EXPECT_NE(windows.messages[0].find("rec,a,3"), std::string::npos);
  // Read again before any save: told already.
  ASSERT_TRUE(Load(store));
  EXPECT_EQ(windows.messages.size(), 1u);

  std::string error;
  ASSERT_TRUE(store.Save(path, error)) << error;
  EXPECT_EQ(ReadBytes(path), "rec,a,1\r\nrec,b,2\r\n");
}

TEST_F(KeyedCsvStoreTest, ARemovedKeyNeverComesBackEvenWhenTheFileHadItTwice) {
  WriteBytes(path, "rec,a,1\r\nrec,b,2\r\nrec,a,3\r\n");
  TKeyedCsvStore store("テストのファイル", 1024);
  ASSERT_TRUE(Load(store));
  store.Remove("a");
  std::string error;
  ASSERT_TRUE(store.Save(path, error)) << error;
  TKeyedCsvStore again("テストのファイル", 1024);
  ASSERT_TRUE(Load(again));
  EXPECT_EQ(again.Get("a"), nullptr);
  ASSERT_EQ(again.Records().size(), 1u);
  EXPECT_EQ(again.Records()[0].key, "b");
}

TEST_F(KeyedCsvStoreTest, LinesNotUnderstoodAreWrittenBackUnchangedAfterTheRecords) {
  // CP932 bytes (one a NEC code Windows would write another way, one no character at all),
  // and a line of a later version.
  WriteBytes(path, "?\x82\xa0\xee\xef\xff\r\nrec,a,\x90\x48\r\nnew,x,y,z\r\n");
  TKeyedCsvStore store("テストのファイル", 1024);
  ASSERT_TRUE(Load(store));
  EXPECT_EQ(store.KeptLines(), (std::vector<std::string>{"?\x82\xa0\xee\xef\xff", "new,x,y,z"}));
  store.Set("b", {"rec", "b", "2"});
  store.Set("a", {"rec", "a", "食"});
  std::string error;
  ASSERT_TRUE(store.Save(path, error)) << error;
  EXPECT_EQ(ReadBytes(path), "rec,a,\x90\x48\r\nrec,b,2\r\n?\x82\xa0\xee\xef\xff\r\nnew,x,y,z\r\n");
  EXPECT_TRUE(windows.messages.empty());
}

}  // namespace
}  // namespace kzm
