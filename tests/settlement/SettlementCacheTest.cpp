#include "settlement/SettlementCache.h"

#include <gtest/gtest.h>

#include <map>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"

namespace kzm {
namespace {

constexpr long long kSecond = 1000000000;

// The cache over real files, with the stamps and the clock in the test's hands: a file's
// bytes can change while its stamp stays, which shows whether it was read again.
class SettlementCacheTest : public ::testing::Test {
 protected:
  SettlementCacheTest()
      : cache([this](const std::string& path, TFileStamp& stamp) {
          auto found = stamps.find(path);
          if (found == stamps.end()) return false;
          stamp = found->second;
          return true;
        },
              [this] { return now; }) {}

  // Writes a settlement whose period ends on the day, stamped as given.
  std::string Write(int lastDay, TFileStamp stamp) {
    THeadList list;
    list.SetFirst(EncodeDate(2024, 5, 1));
    list.SetLast(EncodeDate(2024, 5, lastDay));
    const std::string path = temp.File("202405.mif");
    list.SaveToFile(path);
    stamps[path] = stamp;
    return path;
  }

  int LastDayRead(const std::string& path) {
    THeadList list;
    EXPECT_EQ(cache.Read(path, list), TSettlementRead::srRead);
    return list.Last() - EncodeDate(2024, 5, 0);
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  std::map<std::string, TFileStamp> stamps;
  long long now = 100 * kSecond;
  TSettlementCache cache;
};

TEST_F(SettlementCacheTest, ReadsAgainOnlyWhenTheStampMoves) {
  const TFileStamp old{.device = 1, .inode = 7, .size = 300, .modified = kSecond, .changed = kSecond};
  const std::string path = Write(20, old);
  EXPECT_EQ(LastDayRead(path), 20);

  Write(21, old);  // same stamp: the file as read before
  EXPECT_EQ(LastDayRead(path), 20);

  struct Case {
    const char* what;
    void (*change)(TFileStamp&);
  };
  const Case cases[] = {
      {"size", [](TFileStamp& s) { s.size += 1; }},
      {"inode", [](TFileStamp& s) { s.inode += 1; }},
      {"modified", [](TFileStamp& s) { s.modified += 1; }},
      {"changed", [](TFileStamp& s) { s.changed += 1; }},
      {"device", [](TFileStamp& s) { s.device += 1; }},
  };
  int day = 21;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TFileStamp moved = stamps[path];
    c.change(moved);
    Write(++day, moved);
    EXPECT_EQ(LastDayRead(path), day);
  }
}

TEST_F(SettlementCacheTest, AFileChangedJustNowIsReadAgainUntilLeftAlone) {
  const TFileStamp fresh{.inode = 3, .size = 300, .changed = now - kSecond};
  const std::string path = Write(10, fresh);
  EXPECT_EQ(LastDayRead(path), 10);
  Write(11, fresh);  // within two seconds of its change: times may not have moved yet
  EXPECT_EQ(LastDayRead(path), 11);
  now += 5 * kSecond;
  Write(12, fresh);  // read once more, then left alone
  EXPECT_EQ(LastDayRead(path), 12);
  Write(13, fresh);
  EXPECT_EQ(LastDayRead(path), 12);
}

TEST_F(SettlementCacheTest, DamageIsToldOncePerVersionOfTheFile) {
  const std::string path = temp.File("202405.mif");
  test::WriteBytes(path, "<?xml version=\"1.0\" encoding=\"shift_jis\" ?>\r\n<data><first>2024");
  stamps[path] = TFileStamp{.inode = 1, .size = 60};
  THeadList list;
  std::string damage;
  EXPECT_EQ(cache.Read(path, list, &damage), TSettlementRead::srDamaged);
  EXPECT_EQ(damage, "終了タグがありません");
  EXPECT_EQ(list.Count(), 0);
  damage.clear();
  EXPECT_EQ(cache.Read(path, list, &damage), TSettlementRead::srDamaged);
  EXPECT_EQ(damage, "");

  Write(20, TFileStamp{.inode = 2, .size = 300});  // mended
  EXPECT_EQ(LastDayRead(path), 20);
  stamps.erase(path);
  EXPECT_EQ(cache.Read(path, list), TSettlementRead::srNone);
}

}  // namespace
}  // namespace kzm
