#include "passbook/Profile.h"

#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cerrno>
#include <cstdio>
#include <limits>

#include "foundation/AppGlobal.h"
#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/ColorScheme.h"
#include "foundation/Dates.h"
#include "foundation/Errors.h"
#include "foundation/Files.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/RestoreJournal.h"
#include "passbook/SettlementBatch.h"
#include "passbook/WriterLock.h"

namespace kzm {

namespace {

constexpr const char* kSettingsFile = "nbkr.ini";
constexpr const char* kCategoryFile = "Headfile.dta";

std::string LastComponent(const std::string& folder) {
  const size_t slash = folder.rfind('/');
  return slash == std::string::npos ? folder : folder.substr(slash + 1);
}

}  // namespace

TkzmProfile::TkzmProfile()
    : m_categories(std::make_unique<THeadList>()), m_writer(std::make_unique<TWriterLock>()) {}

TkzmProfile::~TkzmProfile() = default;

void TkzmProfile::SetFolder(const std::string& folder) {
  m_folder = folder;
  m_name = LastComponent(folder);
}

void TkzmProfile::Load(const std::string& folder) {
  WindowSystem().CloseDataWindows();
  SetFolder(StripTrailingBackslashes(folder));
  m_settingsUnreadable = false;
  if (!m_folder.empty()) {
    EnsureFolder(m_folder);
    LoadSettingsFile();
  } else {
    Clear();
    m_name = NewPassbookName();
  }
  ReadFields();
  LoadCategories();
  const int32_t today = Today();
  UpdateMascotMood(int64_t{today} - m_lastOpened, m_mascotMood, m_mascotCount);
  m_lastOpened = today;
}

void TkzmProfile::ReadFields() {
  const int32_t today = Today();
  m_ownerName = ReadString("USERINFO", "NAME", "");
  m_purpose = ReadString("USERINFO", "USE", "");
  m_windowsUser = ReadString("USERINFO", "WINUSER", "");
  m_birthMonth = ReadInteger("USERINFO", "BIRTHMONTH", 0);
  m_birthDay = ReadInteger("USERINFO", "BIRTHDAY", 0);
  m_closingDay = ReadInteger("DATE", "LASTDAY", 31);
  m_endsNextMonth = ReadBool("DATE", "NEXTMONTH", false);
  m_created = ReadInteger("DATE", "CREATEDATE", today);
  m_lastOpened = ReadInteger("DATE", "LASTDATE", today);
  m_monthColumnWidth = ReadInteger("MONTH", "COLWIDTH", 100);
  m_mascotCount = ReadInteger("MABOLIN", "MAX", 8);
  m_mascotMood = ReadInteger("MABOLIN", "COUNT", 0);
  m_openMonthAtStart = ReadBool("STARTUP", "MONTHLY", false);
  m_openTodayAtStart = ReadBool("STARTUP", "DAILY", false);
  m_calendarAtStart = ReadBool("STARTUP", "CALENDAR", false);
  m_enterToItem = ReadBool("DAILY", "enter1", true);
  m_enterToAmount = ReadBool("DAILY", "enter2", true);
  m_enterToAccount = ReadBool("DAILY", "enter3", true);
  m_enterToNote = ReadBool("DAILY", "enter4", true);
}

void TkzmProfile::LoadSettingsFile() {
  const std::string path = m_folder + "/" + kSettingsFile;
  std::string bytes;
  int error = 0;
  const TReadStatus status = ReadFileUpTo(path, std::numeric_limits<size_t>::max(), bytes, &error);
  if (status == TReadStatus::rsRead) {
    LoadFromText(DecodeCp932(bytes));
    return;
  }
  Clear();
  if (status == TReadStatus::rsMissing) return;
  // Defaults stand in for this session only; the user's file is left as it is.
  m_settingsUnreadable = true;
  WindowSystem().Notify("通帳の設定ファイル「" + path + "」を読み込めませんでした。\n" + SystemErrorText(error) +
                        "\nいまは既定の設定で開き、このファイルには書き込みません。");
}

void TkzmProfile::LoadCategories() {
  m_categoriesUnreadable = false;
  const std::string path = m_folder + "/" + kCategoryFile;
  // Anything at that name, a folder too, is the user's file: a load failure is told there.
  if (!m_folder.empty() && (FileExists(path) || FolderExists(path))) {
    try {
      m_categories->LoadFromFile(path);
    } catch (const EkzmError& error) {
      // Keep what could be read, but never write the partial list over the user's file.
      m_categoriesUnreadable = true;
      WindowSystem().Notify(error.what());
    }
    return;
  }
  m_categories->LoadDefaultCategories();
  m_categories->Items(0).visible = 0;  // 給与 starts hidden
}

void TkzmProfile::WriteFields() {
  WriteString("USERINFO", "NAME", m_ownerName);
  WriteString("USERINFO", "USE", m_purpose);
  WriteString("USERINFO", "WINUSER", m_windowsUser);
  WriteInteger("USERINFO", "BIRTHMONTH", m_birthMonth);
  WriteInteger("USERINFO", "BIRTHDAY", m_birthDay);
  WriteInteger("DATE", "LASTDAY", m_closingDay);
  WriteBool("DATE", "NEXTMONTH", m_endsNextMonth);
  WriteInteger("DATE", "CREATEDATE", m_created);
  WriteInteger("DATE", "LASTDATE", m_lastOpened);
  WriteInteger("MONTH", "COLWIDTH", m_monthColumnWidth);
  WriteInteger("MABOLIN", "MAX", m_mascotCount);
  WriteInteger("MABOLIN", "COUNT", m_mascotMood);
  WriteBool("STARTUP", "MONTHLY", m_openMonthAtStart);
  WriteBool("STARTUP", "DAILY", m_openTodayAtStart);
  WriteBool("STARTUP", "CALENDAR", m_calendarAtStart);
  WriteBool("DAILY", "enter1", m_enterToItem);
  WriteBool("DAILY", "enter2", m_enterToAmount);
  WriteBool("DAILY", "enter3", m_enterToAccount);
  WriteBool("DAILY", "enter4", m_enterToNote);
}

bool TkzmProfile::Save() {
  if (m_folder.empty()) return true;
  EnsureFolder(m_folder);
  WriteFields();
  bool saved = true;
  std::string why;
  if (!m_settingsUnreadable && !SaveToFile(m_folder + "/" + kSettingsFile, &why)) {
    WindowSystem().Notify("通帳の設定を保存できませんでした。\n" + why);
    saved = false;
  }
  if (m_categoriesUnreadable) return saved;
  try {
    m_categories->SaveToFile(m_folder + "/" + kCategoryFile);
  } catch (const EkzmError& error) {
    WindowSystem().Notify(error.what());
    saved = false;
  }
  return saved;
}

namespace {

// A folder of the passbook that is a link would send every write somewhere outside it.
bool FoldersStayInside(const std::string& passbook) {
  for (const char* name : {"Daily", "Monthly", "cash"}) {
    struct stat st {};
    if (::lstat((passbook + "/" + name).c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) continue;
    WindowSystem().Notify("通帳のフォルダの中の「" + std::string(name) +
                          "」が別の場所へのリンクになっています。\n通帳の外に書き込まないよう、この通帳は書き込み用に開きません。\n" +
                          passbook);
    return false;
  }
  return true;
}

}  // namespace

bool TkzmProfile::OpenPassbook(const std::string& folder, TPassbookAccess access) {
  const std::string stripped = StripTrailingBackslashes(folder);
  if (access == TPassbookAccess::paWrite && !FoldersStayInside(stripped)) return false;
  if (access == TPassbookAccess::paWrite && !(m_writer->Held() && m_writer->Folder() == stripped)) {
    auto writer = std::make_unique<TWriterLock>();
    std::string refusal;
    if (!writer->Take(stripped, kWriterLockWaitMs, refusal)) {
      WindowSystem().Notify(refusal);
      return false;
    }
    m_writer = std::move(writer);
  } else if (access == TPassbookAccess::paRead) {
    m_writer->Release();
  }
  m_access = access;
  if (access == TPassbookAccess::paWrite) {
    if (const std::string told = SettleStoppedRestore(stripped); !told.empty()) WindowSystem().Notify(told);
    // Saves cut short by a crash or a kill leave their temporary files behind.
    for (const char* place : {"", "/Daily", "/Monthly", "/cash"}) RemoveStaleTempFiles(stripped + place);
  }
  Load(stripped);
  if (access == TPassbookAccess::paWrite) FinishSettlementBatch();
  CurrentMonthData().SetFolder(stripped + "/Daily");
  ColorScheme().SetFileName(stripped + "/Colors.clr");
  try {
    ColorScheme().LoadColors();
  } catch (const EkzmError& error) {
    WindowSystem().Notify(error.what());
    ColorScheme().LoadDefaultColors();
  }
  WindowSystem().BroadcastToForms(kNoticePassbookOpened, 0, 0);
  return true;
}

bool TkzmProfile::RenamePassbook(const std::string& newName) {
  const std::string target = AppGlobal().DataPath() + newName;
  if (target == m_folder) return true;
  WindowSystem().CloseDataWindows();
  // Both must be on disk before the folder moves: a month left unsaved would keep its old path.
  if (!Save() || !CurrentMonthData().Save()) return false;
  std::string why;
  if (m_folder.empty() || !IsValidFileName(newName)) {
    why = "使えない名前です。";
  } else if (FolderExists(target) || FileExists(target)) {
    why = "同じ名前のフォルダがすでにあります。";
  } else if (std::rename(m_folder.c_str(), target.c_str()) != 0) {
    why = SystemErrorText(errno);
  }
  if (!why.empty()) {
    WindowSystem().Notify("通帳の名前を「" + newName + "」に変更できませんでした。\n" + why);
    return false;
  }
  m_folder.clear();  // nothing may be written into the old path any more
  m_writer->Moved(target);  // the lock file moved with its folder
  OpenPassbook(target);
  return true;
}

void UpdateMascotMood(int64_t daysAway, int32_t& mood, int32_t& count) {
  int64_t m = mood;  // wide, so that a mood read from a damaged file cannot overflow
  if (daysAway > 0) m += 80;
  if (daysAway > 2) m -= 10 * std::min<int64_t>(daysAway, 10);
  if (m > 100 && count < 20) {
    count += 1;
    m -= 100;
  }
  if (m < -100 && count > 3) {
    count -= 1;
    m += 100;
  }
  mood = static_cast<int32_t>(std::clamp<int64_t>(m, INT32_MIN, INT32_MAX));
}

std::vector<std::string>& PassbookFolders() {
  static std::vector<std::string> folders;
  return folders;
}

void ListPassbooks() {
  std::vector<std::string>& folders = PassbookFolders();
  ListSubFolders(StripTrailingBackslashes(AppGlobal().DataFolder()), folders);
  std::erase_if(folders, [](const std::string& folder) {
    return !FileExists(folder + "/" + kSettingsFile);
  });
}

std::string NewPassbookName() {
  const std::string dataPath = AppGlobal().DataPath();
  for (int n = 1; n <= 100; ++n) {
    const std::string name = "通帳" + std::to_string(n);
    // A plain file of that name would block the folder just the same.
    if (!FolderExists(dataPath + name) && !FileExists(dataPath + name)) return name;
  }
  return "通帳101";
}

TkzmProfile& CurrentProfile() {
  static TkzmProfile instance;
  return instance;
}

}  // namespace kzm
