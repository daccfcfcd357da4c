#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "passbook/MonthEntry.h"

namespace kzm {

class THeadList;
class TMonthLineSink;
struct TMonthFileRead;

// The entries of one calendar month of the open passbook, shared by every window. Selecting
// a day of another month writes the loaded month back (when changed) and loads the other one
// from the passbook's Daily folder. Entries are kept in (date, sequence) order, so the entries
// of the current day are those from FirstIndex to LastIndex.
//
// A month that cannot be written (a full disk, a read-only file) is never dropped: the user is
// told, and the month stays in memory, still modified, until a later Save manages to write
// it; selecting one of its days again brings it back as it was.
class TFolderSyncBatch;

class TkzmDataUnit {
 public:
  TkzmDataUnit();
  ~TkzmDataUnit();
  TkzmDataUnit(const TkzmDataUnit&) = delete;
  TkzmDataUnit& operator=(const TkzmDataUnit&) = delete;

  // Saves, then points the month data at folder (the passbook's Daily folder) and forgets the
  // loaded month and the current day, so the next SelectDay reads from the new folder.
  // False when the save failed (the user has been told; the data is kept as described above).
  bool SetFolder(const std::string& folder);
  [[nodiscard]] const std::string& Folder() const { return m_folder; }

  // Makes day the current day, loading its month when another one (or none) is loaded.
  // False when the month left behind could not be written; the day is selected anyway.
  bool SelectDay(int32_t day);
  [[nodiscard]] int32_t CurrentDay() const { return m_currentDay; }
  [[nodiscard]] int FirstIndex() const;
  [[nodiscard]] int DayEntryCount() const;
  [[nodiscard]] int LastIndex() const { return FirstIndex() + DayEntryCount() - 1; }

  [[nodiscard]] int Count() const;
  [[nodiscard]] TkzmEntry& Entry(int index);
  [[nodiscard]] const TkzmEntry& Entry(int index) const;

  // Adds an entry to the current day, after the day's other entries.
  void AddEntry(const std::string& categoryKey, const std::string& accountKey,
                const std::string& note, const std::string& itemText, int32_t amount);
  // Removes every entry of the current day.
  void DeleteDayEntries();
  // Removes one entry of the current day. Sequences are not renumbered: they only order.
  void DeleteEntry(int index);
  void SortEntries();
  // Group (1 money, 2 memo, 3 total, 0 none) of the kind of the entry's category.
  [[nodiscard]] int EntryGroup(int index) const;

  // For screens that change entry fields in place.
  void SetModified();
  [[nodiscard]] bool Modified() const;

  // Writes the month file when the month was changed, atomically, and retries months that
  // could not be written before. Windows call it right after they store a day, a month memo
  // or a replacement, so the file follows the data. A failure is reported to the user through
  // the window system and gives false; the data stays in memory and stays modified.
  bool Save();
  // While a batch is lent, the month files written sync their folder through it rather than
  // one by one (a run over many months); nullptr goes back to a folder sync per file.
  void SetFolderSyncBatch(TFolderSyncBatch* batch) { m_folderSync = batch; }
  // Drops the unsaved changes of the loaded month and reads it again from its file, for a
  // change that could not be written and must not be written later either.
  void DiscardMonthChanges();

  // Sets the total of every category of list to the sum over the days first..last: the amount
  // is added to the entry's category and subtracted from its account, appending categories
  // that list lacks. Selects each day in turn. False when a month could not be written back.
  bool SumRange(THeadList& list, int32_t first, int32_t last);

  // The loaded calendar month: year and month are 0 when none is loaded.
  [[nodiscard]] int Year() const;
  [[nodiscard]] int Month() const;
  [[nodiscard]] int32_t FirstDay() const;
  [[nodiscard]] int32_t LastDay() const;
  [[nodiscard]] int DaysInMonth() const;

  // The entries of a calendar month when memory holds them (the loaded month, or one waiting
  // to be written), in order; null when the month is only in its file.
  [[nodiscard]] const std::vector<std::unique_ptr<TkzmEntry>>* HeldEntries(int year, int month) const;
  // Shows the lines of a month's file to sink without loading the month, so that a walk over
  // every month builds none of them. A file that cannot be read is told as when loading, and
  // gives false.
  bool ReadMonthLines(int year, int month, TMonthLineSink& sink);

  // The month file of a year and month in the current folder ("yyyymm.kzm").
  [[nodiscard]] std::string MonthFilePath(int year, int month) const;

  // What could not be read since the folder was set: month files that exist but could not be
  // read or are far too large (such a month loads empty and is never written over), and the
  // folder itself when it cannot be listed. Each is said to the user once.
  [[nodiscard]] const std::vector<std::string>& ReadFailures() const { return m_readFailures; }
  // True when the loaded month's file exists but could not be read: the month shows empty.
  [[nodiscard]] bool MonthUnreadable() const;
  // Records path as unreadable and tells the user message, unless path was told before.
  void ReportReadFailure(const std::string& path, const std::string& message);

 private:
  struct TMonth;

  void LoadMonthOf(int32_t day);
  bool LeaveMonth();
  bool SaveMonth(TMonth& month);
  void TellAboutRead(const std::string& path, const TMonthFileRead& read);
  [[nodiscard]] int DayIndex(int32_t day) const;

  std::string m_folder;
  int32_t m_currentDay = 0;
  std::unique_ptr<TMonth> m_month;
  std::vector<std::unique_ptr<TMonth>> m_unsaved;  // months whose save failed, oldest first
  std::vector<std::string> m_readFailures;
  std::set<std::string> m_told;  // files the user has heard about, so each is said once
  TFolderSyncBatch* m_folderSync = nullptr;
};

// Lends month data a folder-sync batch for one run of saves and takes it back however the run
// ends. Declare it after the batch, so that the batch syncs once the loan is over.
class TFolderSyncLoan {
 public:
  TFolderSyncLoan(TkzmDataUnit& data, TFolderSyncBatch& batch) : m_data(data) { m_data.SetFolderSyncBatch(&batch); }
  ~TFolderSyncLoan() { m_data.SetFolderSyncBatch(nullptr); }
  TFolderSyncLoan(const TFolderSyncLoan&) = delete;
  TFolderSyncLoan& operator=(const TFolderSyncLoan&) = delete;

 private:
  TkzmDataUnit& m_data;
};

// The program's one month data, shared by every window.
[[nodiscard]] TkzmDataUnit& CurrentMonthData();

}  // namespace kzm
