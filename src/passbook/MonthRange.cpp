#include "passbook/MonthRange.h"

#include "foundation/Files.h"
#include "foundation/SystemErrors.h"
#include "passbook/MonthData.h"

#include <algorithm>
#include <cerrno>

namespace kzm {

namespace {

// Year and month of a month file's name ("yyyymm.kzm", the folder part ignored); false for a
// name whose first six characters are no year and month.
bool MonthOfFileName(const std::string& path, int& year, int& month) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.size() < 6) return false;
  for (size_t i = 0; i < 6; ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  year = std::stoi(name.substr(0, 4));
  month = std::stoi(name.substr(4, 2));
  return year >= 1 && month >= 1 && month <= 12;
}

// The months of the month files "??????.kzm" in folder, oldest first, whatever is under such
// a name (a folder there is a month that cannot be read); names that are no year and month
// are passed over. False (errno set) when the folder exists but cannot be listed; an empty
// folder name lists nothing.
bool ListMonthFiles(const std::string& folder, std::vector<TMonthOfFile>& months) {
  months.clear();
  if (folder.empty()) return true;
  std::vector<std::string> files;
  // A folder where a month file belongs is listed too: reading it fails and the user is told,
  // instead of the month being passed over without a word.
  const bool listed = ListEntries(folder, "??????.kzm", files);
  for (const std::string& file : files) {
    TMonthOfFile m;
    if (MonthOfFileName(file, m.year, m.month)) months.push_back(m);
  }
  // The file system lists in an order of its own: results, exports and printouts would come
  // out jumbled, and a stopped replacement would leave scattered months done.
  std::sort(months.begin(), months.end(),
            [](const TMonthOfFile& a, const TMonthOfFile& b) { return a.year * 100 + a.month < b.year * 100 + b.month; });
  return listed;
}

}  // namespace

std::vector<TMonthOfFile> MonthFilesOf(const std::string& folder) {
  std::vector<TMonthOfFile> months;
  (void)ListMonthFiles(folder, months);
  return months;
}

std::vector<TMonthOfFile> MonthsToWalk(TkzmDataUnit& data) {
  std::vector<TMonthOfFile> months;
  if (!ListMonthFiles(data.Folder(), months)) {
    data.ReportReadFailure(data.Folder(), "月のデータのフォルダ「" + data.Folder() + "」を読み込めませんでした。\n" +
                                              SystemErrorText(errno));
  }
  return months;
}

bool MonthDaysInRange(int year, int month, TDayNumber rangeFirst, TDayNumber rangeLast, TDayNumber& first,
                      TDayNumber& last) {
  first = EncodeDate(year, month, 1);
  last = first + DaysInMonth(year, month) - 1;
  if (rangeFirst != 0) {
    if (rangeFirst > last) return false;
    if (rangeFirst > first) first = rangeFirst;
  }
  if (rangeLast != 0) {
    if (rangeLast < first) return false;
    if (rangeLast < last) last = rangeLast;
  }
  return true;
}

}  // namespace kzm
