#include "passbook/MonthData.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "foundation/SystemErrors.h"
#include "foundation/WindowSystem.h"
#include "passbook/CarryJournal.h"
#include "passbook/Categories.h"
#include "passbook/MonthFile.h"
#include "passbook/MonthStamps.h"

namespace kzm {

// A month takes the lines of its file as they are read.
struct TkzmDataUnit::TMonth final : TMonthLineSink {
  std::string path;  // the month file; empty when the month data has no folder
  int year = 0;      // 0: no month loaded
  int month = 0;
  int32_t firstDay = 0;
  int32_t lastDay = -1;
  std::vector<std::unique_ptr<TkzmEntry>> entries;
  std::vector<int32_t> dayCounts;  // entries per day of the month
  std::vector<TKeptLine> keptLines;
  bool modified = false;
  bool unreadable = false;  // the file exists but could not be read: never write over it

  // Adds an entry of a day of this month after the entries of that day already present.
  void Add(std::unique_ptr<TkzmEntry> entry) {
    int32_t& count = dayCounts[entry->date - firstDay];
    entry->sequence = count++;
    modified = true;
    // Entries read from a file and added to the latest day go at the end.
    if (entries.empty() || entries.back()->date <= entry->date) {
      entries.push_back(std::move(entry));
      return;
    }
    auto after = std::upper_bound(entries.begin(), entries.end(), entry->date,
                                  [](int32_t date, const auto& e) { return date < e->date; });
    entries.insert(after, std::move(entry));
  }

  void Entry(const TEntryLine& line) override { Add(std::make_unique<TkzmEntry>(MakeEntry(line))); }
  void Kept(int32_t sortDate, std::string_view bytes) override { keptLines.push_back({sortDate, std::string(bytes)}); }
};

namespace {

// The month of the file path among months, or their end.
template <class Months>
auto FindMonthOfFile(Months& months, const std::string& path) {
  return std::find_if(months.begin(), months.end(), [&](const auto& m) { return !path.empty() && m->path == path; });
}

bool EarlierEntry(const std::unique_ptr<TkzmEntry>& a, const std::unique_ptr<TkzmEntry>& b) {
  if (a->date != b->date) return a->date < b->date;
  return a->sequence < b->sequence;
}

void AddToTotal(THeadList& list, const std::string& key, int64_t amount) {
  list.Items(list.AddKey(key)).total += amount;
}

}  // namespace

TkzmDataUnit::TkzmDataUnit() : m_month(std::make_unique<TMonth>()) {}

TkzmDataUnit::~TkzmDataUnit() = default;

bool TkzmDataUnit::SetFolder(const std::string& folder) {
  const bool saved = Save();
  m_folder = folder;
  m_readFailures.clear();
  // A month that failed to save stays among the unsaved ones with its own path.
  if (m_month->modified && !m_month->path.empty()) m_unsaved.push_back(std::move(m_month));
  m_month = std::make_unique<TMonth>();
  m_currentDay = 0;
  return saved;
}

std::string TkzmDataUnit::MonthFilePath(int year, int month) const {
  if (m_folder.empty()) return {};
  char name[32];
  std::snprintf(name, sizeof name, "%4.4d%2.2d.kzm", year, month);
  return m_folder + "/" + name;
}

bool TkzmDataUnit::SelectDay(int32_t day) {
  bool saved = true;
  if (m_month->year == 0 || day < m_month->firstDay || day > m_month->lastDay) {
    saved = LeaveMonth();
    LoadMonthOf(day);
  }
  m_currentDay = day;
  return saved;
}

bool TkzmDataUnit::LeaveMonth() {
  if (!m_month->modified) return true;
  if (SaveMonth(*m_month)) return true;
  if (!m_month->path.empty()) m_unsaved.push_back(std::move(m_month));
  m_month = std::make_unique<TMonth>();
  return false;
}

void TkzmDataUnit::LoadMonthOf(int32_t day) {
  const TYmd date = DecodeDate(day);
  const int year = date.year;
  const int month = date.month;
  const std::string path = MonthFilePath(year, month);
  const auto unsaved = FindMonthOfFile(m_unsaved, path);
  if (unsaved != m_unsaved.end()) {
    m_month = std::move(*unsaved);
    m_unsaved.erase(unsaved);
    return;
  }
  auto loaded = std::make_unique<TMonth>();
  loaded->path = path;
  loaded->year = year;
  loaded->month = month;
  loaded->firstDay = EncodeDate(year, month, 1);
  loaded->lastDay = loaded->firstDay + kzm::DaysInMonth(year, month) - 1;
  loaded->dayCounts.assign(loaded->lastDay - loaded->firstDay + 1, 0);
  loaded->unreadable = !ReadMonthLines(year, month, *loaded);
  loaded->modified = false;
  m_month = std::move(loaded);
}

void TkzmDataUnit::TellAboutRead(const std::string& path, const TMonthFileRead& read) {
  switch (read.status) {
    case TMonthFileStatus::mfTooLarge:
      ReportReadFailure(path, "月のデータ「" + path + "」は" + std::to_string(kMaxMonthFileSize / (1024 * 1024)) +
                                  "MBを超えていて、月のデータとしては大きすぎるため読み込みません。\n"
                                  "このファイルには書き込みません。");
      return;
    case TMonthFileStatus::mfFailed:
      ReportReadFailure(path, "月のデータ「" + path + "」を読み込めませんでした。\n" + SystemErrorText(read.error) +
                                  "\nこのファイルには書き込みません。");
      return;
    case TMonthFileStatus::mfMissing:
    case TMonthFileStatus::mfRead:
      break;
  }
  if (read.unreadAmounts > 0 && m_told.insert(path).second) {
    WindowSystem().Notify("月のデータ「" + path + "」には、金額が整数として読めない行が" +
                          std::to_string(read.unreadAmounts) +
                          "行あります。\nその行はファイルにそのまま残し、合計や検索には含めません。");
  }
}

void TkzmDataUnit::ReportReadFailure(const std::string& path, const std::string& message) {
  if (std::find(m_readFailures.begin(), m_readFailures.end(), path) == m_readFailures.end()) {
    m_readFailures.push_back(path);
  }
  if (m_told.insert(path).second) WindowSystem().Notify(message);
}

int TkzmDataUnit::DayIndex(int32_t day) const {
  if (m_month->year == 0 || day < m_month->firstDay || day > m_month->lastDay) return -1;
  return day - m_month->firstDay;
}

int TkzmDataUnit::FirstIndex() const {
  const int d = DayIndex(m_currentDay);
  if (d < 0) return 0;
  int32_t sum = 0;
  for (int i = 0; i < d; ++i) sum += m_month->dayCounts[i];
  return sum;
}

int TkzmDataUnit::DayEntryCount() const {
  const int d = DayIndex(m_currentDay);
  return d < 0 ? 0 : m_month->dayCounts[d];
}

int TkzmDataUnit::Count() const { return static_cast<int>(m_month->entries.size()); }

TkzmEntry& TkzmDataUnit::Entry(int index) {
  assert(index >= 0 && index < Count());
  return *m_month->entries[index];
}

const TkzmEntry& TkzmDataUnit::Entry(int index) const {
  assert(index >= 0 && index < Count());
  return *m_month->entries[index];
}

void TkzmDataUnit::AddEntry(const std::string& categoryKey, const std::string& accountKey,
                            const std::string& note, const std::string& itemText,
                            int32_t amount) {
  assert(DayIndex(m_currentDay) >= 0 && "AddEntry needs a selected day");
  if (DayIndex(m_currentDay) < 0) return;
  auto entry = std::make_unique<TkzmEntry>();
  entry->date = m_currentDay;
  entry->amount = amount;
  entry->categoryKey = categoryKey;
  entry->itemText = itemText;
  entry->note = note;
  entry->accountKey = accountKey;
  m_month->Add(std::move(entry));
}

void TkzmDataUnit::DeleteDayEntries() {
  const int d = DayIndex(m_currentDay);
  if (d < 0) return;
  auto& entries = m_month->entries;
  const auto first = entries.begin() + FirstIndex();
  entries.erase(first, first + m_month->dayCounts[d]);
  m_month->dayCounts[d] = 0;
  m_month->modified = true;
}

void TkzmDataUnit::DeleteEntry(int index) {
  assert(index >= FirstIndex() && index <= LastIndex() && "DeleteEntry outside the current day");
  if (index < FirstIndex() || index > LastIndex()) return;
  m_month->entries.erase(m_month->entries.begin() + index);
  --m_month->dayCounts[DayIndex(m_currentDay)];
  m_month->modified = true;
  SortEntries();
}

void TkzmDataUnit::SortEntries() {
  std::stable_sort(m_month->entries.begin(), m_month->entries.end(), EarlierEntry);
}

int TkzmDataUnit::EntryGroup(int index) const {
  return KindGroup(KeyKind(Entry(index).categoryKey));
}

void TkzmDataUnit::SetModified() { m_month->modified = true; }

bool TkzmDataUnit::Modified() const { return m_month->modified || !m_unsaved.empty(); }

bool TkzmDataUnit::Save() {
  bool saved = true;
  for (auto it = m_unsaved.begin(); it != m_unsaved.end();) {
    if (SaveMonth(**it)) {
      it = m_unsaved.erase(it);
    } else {
      saved = false;
      ++it;
    }
  }
  if (m_month->modified && !SaveMonth(*m_month)) saved = false;
  return saved;
}

void TkzmDataUnit::DiscardMonthChanges() {
  if (m_month->year == 0) return;
  m_month = std::make_unique<TMonth>();
  LoadMonthOf(m_currentDay);
}

bool TkzmDataUnit::SaveMonth(TMonth& month) {
  if (!month.modified) return true;
  if (month.path.empty()) return true;  // no passbook open: nothing to write to
  if (month.unreadable) {
    WindowSystem().Notify("月のデータ「" + month.path + "」は読み込めなかったため、上書きしません。\n"
                          "この月に入力した内容は保存されていません。");
    return false;
  }
  std::stable_sort(month.entries.begin(), month.entries.end(), EarlierEntry);
  std::string error;
  // Noted first, so that balances are carried even when the run stops right after the write.
  // A note that cannot be written does not hold the entries back; they matter more.
  const std::string daily = month.path.substr(0, month.path.rfind('/'));
  (void)NoteMonthsToCarry(daily.substr(0, daily.rfind('/')), {month.year * 100 + month.month}, error);
  error.clear();
  if (!WriteMonthFile(month.path, month.entries, month.keptLines, error, m_folderSync)) {
    WindowSystem().Notify(error + "\n入力した内容はこのまま残し、次に保存するときにもう一度書き込みます。");
    return false;
  }
  // This PC wrote it: a later look for files the sync engine brought passes it over.
  RecordMonthStamps(daily.substr(0, daily.rfind('/')), {month.year * 100 + month.month});
  month.modified = false;
  return true;
}

bool TkzmDataUnit::SumRange(THeadList& list, int32_t first, int32_t last) {
  for (int i = 0; i < list.Count(); ++i) list.Items(i).total = 0;
  bool saved = true;
  for (int32_t day = first; day <= last; ++day) {
    if (!SelectDay(day)) saved = false;
    const int end = FirstIndex() + DayEntryCount();
    for (int i = FirstIndex(); i < end; ++i) {
      const TkzmEntry& entry = *m_month->entries[i];
      AddToTotal(list, entry.categoryKey, entry.amount);
      AddToTotal(list, entry.accountKey, -int64_t{entry.amount});
    }
  }
  return saved;
}

const std::vector<std::unique_ptr<TkzmEntry>>* TkzmDataUnit::HeldEntries(int year, int month) const {
  if (m_month->year == year && m_month->month == month) return &m_month->entries;
  const auto unsaved = FindMonthOfFile(m_unsaved, MonthFilePath(year, month));
  return unsaved == m_unsaved.end() ? nullptr : &(*unsaved)->entries;
}

bool TkzmDataUnit::ReadMonthLines(int year, int month, TMonthLineSink& sink) {
  const std::string path = MonthFilePath(year, month);
  if (path.empty()) return true;
  const int32_t firstDay = EncodeDate(year, month, 1);
  const TMonthFileRead read = ReadMonthFile(path, firstDay, firstDay + kzm::DaysInMonth(year, month) - 1, sink);
  TellAboutRead(path, read);
  return read.status == TMonthFileStatus::mfRead || read.status == TMonthFileStatus::mfMissing;
}

bool TkzmDataUnit::MonthUnreadable() const { return m_month->unreadable; }

int TkzmDataUnit::Year() const { return m_month->year; }
int TkzmDataUnit::Month() const { return m_month->month; }
int32_t TkzmDataUnit::FirstDay() const { return m_month->firstDay; }
int32_t TkzmDataUnit::LastDay() const { return m_month->lastDay; }
int TkzmDataUnit::DaysInMonth() const { return static_cast<int>(m_month->dayCounts.size()); }

TkzmDataUnit& CurrentMonthData() {
  static TkzmDataUnit instance;
  return instance;
}

}  // namespace kzm
