#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ProfileList.h"

namespace kzm {

class THeadList;
class TWriterLock;

enum class TPassbookAccess : uint8_t { paWrite, paRead };

// The open passbook: its folder (a folder of the data folder holding "nbkr.ini"), its name
// (the folder's last component), its settings and its categories. No folder means that no
// passbook is open; the name is then the one proposed for a new passbook.
//
// A passbook folder holds nbkr.ini (settings), Headfile.dta (categories), Daily/ (month
// files), Monthly/ (settlements), Colors.clr (colour scheme) and cash/ (entry histories).
class TkzmProfile : public TprofileList {
 public:
  TkzmProfile();
  ~TkzmProfile();

  // Closes the data windows and reads the settings and categories of folder; an empty folder
  // gives the defaults of a new passbook. Updates the mascot mood and the last-opened day.
  void Load(const std::string& folder);
  // Writes nbkr.ini (keys the program does not know stay in it) and Headfile.dta. Nothing
  // without a folder. False when a file could not be written; the user has been told.
  bool Save();
  // Sets the folder (no trailing "/") and takes the name from its last component.
  void SetFolder(const std::string& folder);

  [[nodiscard]] const std::string& Folder() const { return m_folder; }
  [[nodiscard]] const std::string& Name() const { return m_name; }
  [[nodiscard]] THeadList& Categories() { return *m_categories; }
  [[nodiscard]] const THeadList& Categories() const { return *m_categories; }

  // USERINFO
  [[nodiscard]] const std::string& OwnerName() const { return m_ownerName; }
  void SetOwnerName(const std::string& v) { m_ownerName = v; }
  [[nodiscard]] const std::string& Purpose() const { return m_purpose; }
  void SetPurpose(const std::string& v) { m_purpose = v; }
  // Read and written back; nothing else uses it.
  [[nodiscard]] const std::string& WindowsUser() const { return m_windowsUser; }
  [[nodiscard]] int32_t BirthMonth() const { return m_birthMonth; }  // 0: not given
  void SetBirthMonth(int32_t v) { m_birthMonth = v; }
  [[nodiscard]] int32_t BirthDay() const { return m_birthDay; }
  void SetBirthDay(int32_t v) { m_birthDay = v; }

  // DATE: the last day of an accounting month (31: the calendar month's last day), and
  // whether the month named M ends on that day of month M + 1.
  [[nodiscard]] int32_t ClosingDay() const { return m_closingDay; }
  void SetClosingDay(int32_t v) { m_closingDay = v; }
  [[nodiscard]] bool EndsNextMonth() const { return m_endsNextMonth; }
  void SetEndsNextMonth(bool v) { m_endsNextMonth = v; }
  [[nodiscard]] int32_t Created() const { return m_created; }        // day number
  void SetCreated(int32_t day) { m_created = day; }
  [[nodiscard]] int32_t LastOpened() const { return m_lastOpened; }  // day number
  void SetLastOpened(int32_t day) { m_lastOpened = day; }

  // MONTH: column-width scale of the monthly view in percent.
  [[nodiscard]] int32_t MonthColumnWidth() const { return m_monthColumnWidth; }
  void SetMonthColumnWidth(int32_t v) { m_monthColumnWidth = v; }

  // MABOLIN: how many mascots walk about, and the mood that slowly changes that number.
  [[nodiscard]] int32_t MascotCount() const { return m_mascotCount; }
  [[nodiscard]] int32_t MascotMood() const { return m_mascotMood; }

  // STARTUP
  [[nodiscard]] bool OpenMonthAtStart() const { return m_openMonthAtStart; }
  void SetOpenMonthAtStart(bool v) { m_openMonthAtStart = v; }
  [[nodiscard]] bool OpenTodayAtStart() const { return m_openTodayAtStart; }
  void SetOpenTodayAtStart(bool v) { m_openTodayAtStart = v; }
  [[nodiscard]] bool CalendarAtStart() const { return m_calendarAtStart; }
  void SetCalendarAtStart(bool v) { m_calendarAtStart = v; }

  // DAILY: the columns the Enter key visits in the daily grid.
  [[nodiscard]] bool EnterMovesToItem() const { return m_enterToItem; }
  void SetEnterMovesToItem(bool v) { m_enterToItem = v; }
  [[nodiscard]] bool EnterMovesToAmount() const { return m_enterToAmount; }
  void SetEnterMovesToAmount(bool v) { m_enterToAmount = v; }
  [[nodiscard]] bool EnterMovesToAccount() const { return m_enterToAccount; }
  void SetEnterMovesToAccount(bool v) { m_enterToAccount = v; }
  [[nodiscard]] bool EnterMovesToNote() const { return m_enterToNote; }
  void SetEnterMovesToNote(bool v) { m_enterToNote = v; }

  // Makes the passbook at folder the open one: loads it, points the month data at its Daily
  // folder and the colour scheme at its Colors.clr, and tells every window. For writing, the
  // passbook's writer lock is taken first (waiting a little for another writer) and the
  // records of a run that was stopped half-way are finished; false when another process
  // holds the lock (the user has been told; the passbook open before stays open). A reader
  // takes no lock and writes nothing.
  bool OpenPassbook(const std::string& folder, TPassbookAccess access = TPassbookAccess::paWrite);
  // Whether this process may write the open passbook (it holds the writer lock, or the
  // passbook's folder cannot hold one).
  [[nodiscard]] bool Writable() const { return m_access == TPassbookAccess::paWrite; }
  // Renames the open passbook's folder to DataPath + newName and reopens it. On failure the
  // user is told, false is returned and the passbook stays open under its old name.
  bool RenamePassbook(const std::string& newName);

 private:
  void ReadFields();
  void WriteFields();
  void LoadCategories();
  void LoadSettingsFile();

  std::string m_folder;
  std::string m_name;
  std::unique_ptr<THeadList> m_categories;
  std::unique_ptr<TWriterLock> m_writer;
  TPassbookAccess m_access = TPassbookAccess::paWrite;
  bool m_categoriesUnreadable = false;  // Headfile.dta could not be read: never overwrite it
  bool m_settingsUnreadable = false;    // nbkr.ini likewise

  std::string m_ownerName;
  std::string m_purpose;
  std::string m_windowsUser;
  int32_t m_birthMonth = 0;
  int32_t m_birthDay = 0;
  int32_t m_closingDay = 31;
  bool m_endsNextMonth = false;
  int32_t m_created = 0;
  int32_t m_lastOpened = 0;
  int32_t m_monthColumnWidth = 100;
  int32_t m_mascotCount = 8;
  int32_t m_mascotMood = 0;
  bool m_openMonthAtStart = false;
  bool m_openTodayAtStart = false;
  bool m_calendarAtStart = false;
  bool m_enterToItem = true;
  bool m_enterToAmount = true;
  bool m_enterToAccount = true;
  bool m_enterToNote = true;
};

// Opening the passbook on a new day cheers the mascots up (+80); staying away three days or
// more saddens them (-10 a day, at most -100). Every 100 points of mood above or below zero
// become one mascot more or less, within 3 to 20. daysAway is today - last opened.
void UpdateMascotMood(int64_t daysAway, int32_t& mood, int32_t& count);

// The passbooks of the data folder, as full folder paths: refreshed by ListPassbooks.
[[nodiscard]] std::vector<std::string>& PassbookFolders();
// Fills PassbookFolders with every sub-folder of the data folder that holds nbkr.ini.
void ListPassbooks();
// "通帳1", "通帳2", …: the first name not taken in the data folder ("通帳101" after 100).
[[nodiscard]] std::string NewPassbookName();

// The program's one open passbook.
[[nodiscard]] TkzmProfile& CurrentProfile();

}  // namespace kzm
