#include "phone/PassbookPhoneBook.h"

#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/PassbookId.h"
#include "passbook/PerPcState.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"

namespace kzm {

namespace {

bool SameEntry(const TkzmEntry& booked, const TPhoneEntry& sent) {
  return booked.date == sent.day && booked.categoryKey == sent.categoryKey && booked.accountKey == sent.accountKey &&
         booked.amount == sent.amount && booked.itemText == sent.item && booked.note == sent.note;
}

// The index of the entry on its day; -1 when the day holds no such entry. Leaves the day current.
int FindOnDay(const TPhoneEntry& sent) {
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(sent.day);
  for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
    if (SameEntry(data.Entry(i), sent)) return i;
  }
  return -1;
}

// The day the windows were on is theirs again afterwards.
class TKeepCurrentDay {
 public:
  TKeepCurrentDay() : m_day(CurrentMonthData().CurrentDay()) {}
  ~TKeepCurrentDay() {
    if (m_day != 0) (void)CurrentMonthData().SelectDay(m_day);
  }
  TKeepCurrentDay(const TKeepCurrentDay&) = delete;
  TKeepCurrentDay& operator=(const TKeepCurrentDay&) = delete;

 private:
  int32_t m_day;
};

bool Add(const TPhoneEntry& entry, std::string& error) {
  const TKeepCurrentDay keep;
  TkzmDataUnit& data = CurrentMonthData();
  (void)data.SelectDay(entry.day);
  data.AddEntry(entry.categoryKey, entry.accountKey, entry.note, entry.item, entry.amount);
  if (!data.Save()) {
    data.DeleteEntry(data.LastIndex());
    (void)data.Save();
    error = "通帳に書き込めないため、記入しませんでした (ディスクがいっぱいかもしれません)。";
    return false;
  }
  (void)ResummariseDays({entry.day});  // a carry that fails is kept in the journal for the next open
  return true;
}

bool Remove(const TPhoneEntry& entry) {
  const TKeepCurrentDay keep;
  const int index = FindOnDay(entry);
  if (index < 0) return false;
  TkzmDataUnit& data = CurrentMonthData();
  data.DeleteEntry(index);
  if (!data.Save()) return false;
  (void)ResummariseDays({entry.day});
  return true;
}

}  // namespace

TPhoneBook OpenPassbookPhoneBook() {
  return TPhoneBook{[] { return CurrentProfile().Categories(); }, Add,
                    [](const TPhoneEntry& entry) {
                      const TKeepCurrentDay keep;
                      return FindOnDay(entry) >= 0;
                    },
                    Remove};
}

std::string PhoneStateFolder(const std::string& passbookFolder, std::string& error) {
  // The service needs the passbook's id even before its first month is written.
  if (PassbookIdOf(passbookFolder, error).empty()) return {};
  const std::string folder = PerPcStateFolder(passbookFolder) + "/Phone";
  EnsureFolder(folder);
  if (!FolderExists(folder)) {
    error = folder + " をつくれませんでした。";
    return {};
  }
  return folder;
}

}  // namespace kzm
