#include "statement/DuplicateCheck.h"

#include <gtest/gtest.h>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthEntry.h"

namespace kzm {
namespace {

const std::string kBank = MakeKey("銀行", kKindAsset);
const std::string kCash = MakeKey("現金", kKindAsset);
const TDayNumber kDay = EncodeDate(2024, 3, 10);

TEST(DuplicateCheckTest, FlowFollowsTheSideTheAccountIsOn) {
  const struct {
    const char* what;
    std::string category;
    std::string account;
    int32_t amount;
    int32_t flow;
  } cases[] = {
      {"payment from the bank", MakeKey("食費", kKindPayment), kBank, 500, -500},
      {"refund as a negative payment", MakeKey("食費", kKindPayment), kBank, -500, 500},
      {"receipt into the bank", MakeKey("給与", kKindReceipt), kBank, 1000, 1000},
      {"move out of the bank", kCash, kBank, 2000, -2000},
      {"move into the bank", kBank, kCash, 2000, 2000},
      {"another account", MakeKey("食費", kKindPayment), kCash, 500, 0},
      {"bank on both sides", kBank, kBank, 300, 0},
      {"a payment category named like the bank", MakeKey("銀行", kKindPayment), kCash, 300, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TkzmEntry entry;
    entry.categoryKey = c.category;
    entry.accountKey = c.account;
    entry.amount = c.amount;
    EXPECT_EQ(FlowOf(entry, kBank), c.flow);
  }
}

std::string Marks(const std::vector<TDuplicate>& marks) {
  std::string text;
  for (const TDuplicate mark : marks) text += mark == TDuplicate::dNew ? 'n' : mark == TDuplicate::dLikely ? 'l' : 'c';
  return text;
}

// Entries written and entries typed but not yet written count alike, and gathering them
// moves neither the day the windows work on nor the month they have loaded.
TEST(DuplicateCheckTest, FlowsComeFromFilesAndFromWhatIsHeldLeavingTheDayAlone) {
  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  TkzmDataUnit data;
  data.SetFolder(temp.Path() + "/Daily");
  data.SelectDay(EncodeDate(2024, 2, 28));
  data.AddEntry(MakeKey("食費", kKindPayment), kBank, "", "パン", 300);
  data.SelectDay(kDay);
  data.AddEntry(MakeKey("食費", kKindPayment), kCash, "", "他の口座", 50);
  ASSERT_TRUE(data.Save());
  data.AddEntry(MakeKey("給与", kKindReceipt), kBank, "", "給料", 1000);  // typed, not written

  const std::vector<TAccountFlow> flows =
      CollectAccountFlows(data, kBank, EncodeDate(2024, 2, 1), EncodeDate(2024, 3, 31));
  ASSERT_EQ(flows.size(), 2u);
  EXPECT_EQ(flows[0].flow + flows[1].flow, 700);
  EXPECT_EQ(data.CurrentDay(), kDay);
  EXPECT_EQ(data.Count(), 2);
  EXPECT_TRUE(data.Modified());
}

TEST(DuplicateCheckTest, MarksRowsAgainstThePassbook) {
  const std::vector<TAccountFlow> coffee = {{kDay, -150, "コーヒー"}};
  const struct {
    const char* what;
    std::vector<TRowToCheck> rows;
    std::vector<TAccountFlow> flows;
    int days;
    const char* marks;
  } cases[] = {
      {"same text, same day", {{kDay, -150, "コーヒー", false}}, coffee, 3, "c"},
      {"other text three days later", {{kDay + 3, -150, "喫茶", false}}, coffee, 3, "l"},
      {"four days later", {{kDay + 4, -150, "コーヒー", false}}, coffee, 3, "n"},
      {"three days earlier", {{kDay - 3, -150, "コーヒー", false}}, coffee, 3, "c"},
      {"window narrowed to a day", {{kDay + 2, -150, "コーヒー", false}}, coffee, 1, "n"},
      {"other amount", {{kDay, -151, "コーヒー", false}}, coffee, 3, "n"},
      {"money in, not out", {{kDay, 150, "コーヒー", false}}, coffee, 3, "n"},
      {"known bank id, edited text", {{kDay + 1, -150, "別の文", true}}, coffee, 3, "c"},
      {"two coffees, one booked", {{kDay, -150, "コーヒー", false}, {kDay, -150, "コーヒー", false}}, coffee, 3,
       "cn"},
      {"two coffees, both booked",
       {{kDay, -150, "コーヒー", false}, {kDay, -150, "コーヒー", false}},
       {{kDay, -150, "コーヒー"}, {kDay, -150, "コーヒー"}},
       3,
       "cc"},
      // The certain match must not be spent on the likely row before it.
      {"certain settled first",
       {{kDay, -150, "喫茶", false}, {kDay + 2, -150, "コーヒー", false}},
       {{kDay + 1, -150, "コーヒー"}},
       3,
       "nc"},
      {"nearest entry taken",
       {{kDay, -150, "x", false}, {kDay + 5, -150, "x", false}},
       {{kDay + 3, -150, "y"}, {kDay - 1, -150, "y"}},
       3,
       "ll"},
      {"empty passbook", {{kDay, -150, "コーヒー", false}}, {}, 3, "n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Marks(FindDuplicates(c.rows, c.flows, c.days)), c.marks);
  }
}

}  // namespace
}  // namespace kzm
