#include "passbook/PassbookRules.h"

#include <algorithm>
#include <cstdio>

#include <unistd.h>

#include "foundation/AppGlobal.h"
#include "foundation/Codec.h"
#include "foundation/Files.h"
#include "foundation/ProfileList.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthKeys.h"
#include "passbook/Profile.h"

namespace kzm {

namespace {

constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";

bool IsOnlyBlanks(std::string_view name) {
  const std::string rest = ReplaceAll(name, kIdeographicSpace, "");
  return Trim(rest).empty();
}

std::string SlashDate(TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d", ymd.year, ymd.month, ymd.day);
  return text;
}

}  // namespace

TPassbookInfo PassbookInfoOf(const TkzmProfile& profile) {
  TPassbookInfo info;
  info.name = profile.Name();
  info.ownerName = profile.OwnerName();
  info.purpose = profile.Purpose();
  info.birthMonth = profile.BirthMonth();
  info.birthDay = profile.BirthDay();
  info.created = profile.Created();
  info.closingDay = profile.ClosingDay();
  info.endsNextMonth = profile.EndsNextMonth();
  return info;
}

void StorePassbookInfo(const TPassbookInfo& info, TkzmProfile& profile) {
  profile.SetOwnerName(info.ownerName);
  profile.SetPurpose(info.purpose);
  profile.SetBirthMonth(info.birthMonth);
  profile.SetBirthDay(info.birthDay);
  profile.SetClosingDay(info.closingDay);
  profile.SetEndsNextMonth(info.endsNextMonth);
}

int32_t ParseBirthField(std::string_view text) { return ParseInt(text, 0); }

namespace {

// True for a name that makes a folder directly inside the data folder: none of \ / : * ? " < > |
// nor a control character, not empty or only blanks, not "." or "..".
bool IsUsablePassbookName(std::string_view name) { return IsValidFileName(name) && !IsOnlyBlanks(name); }

// The longest file name and path the file system of folder takes, in bytes.
long PathLimit(const std::string& folder, int which, long fallback) {
  const long limit = pathconf(folder.c_str(), which);
  return limit > 0 ? limit : fallback;
}

// Room for the deepest file a passbook holds below its folder ("/Monthly/202401.mif" and
// the temporary name it is written under first).
constexpr std::size_t kInnerPathRoom = 64;

bool FitsFileSystem(const std::string& dataFolder, const std::string& name) {
  const auto nameMax = static_cast<std::size_t>(PathLimit(dataFolder, _PC_NAME_MAX, 255));
  const auto pathMax = static_cast<std::size_t>(PathLimit(dataFolder, _PC_PATH_MAX, 4096));
  return name.size() <= nameMax && dataFolder.size() + 1 + name.size() + kInnerPathRoom < pathMax;
}

}  // namespace

std::string CheckPassbookName(const std::string& name, const std::string& loadedName, bool isNew) {
  if (!IsUsablePassbookName(name)) return kBadPassbookName;
  if (isNew || name != loadedName) {
    // A plain file of that name would block the folder just the same.
    const std::string path = AppGlobal().DataPath() + name;
    if (FolderExists(path) || FileExists(path)) return kPassbookNameTaken;
    // Refused now, not when the folder is made and everything typed is gone.
    if (!FitsFileSystem(AppGlobal().DataFolder(), name)) return kPassbookNameTooLong;
  }
  return {};
}

bool TCategoryRows::IsFixedKind(int kind) { return KindGroup(kind) >= 2; }

void TCategoryRows::Load(THeadList& list) {
  // Every passbook has its memo and total lines; whatever else the window does, they stay.
  static constexpr struct {
    const char* name;
    int kind;
  } kFixed[] = {{"メモ", kKindMemo}, {"収入合計", kKindReceiptTotal}, {"支出合計", kKindPaymentTotal}};
  for (const auto& fixed : kFixed) {
    if (list.CountOfKind(fixed.kind) == 0) list.AddKey(MakeKey(fixed.name, fixed.kind));
  }
  m_rows.clear();
  for (int i = 0; i < list.Count(); ++i) {
    m_rows.push_back({list.DisplayName(i), list.KindOf(i), list.Items(i).visible != 0});
  }
}

std::string TCategoryRows::Add(int& selected) {
  if (Count() >= kMaxCategoryRows) return kTooManyRows;
  int n = 1;
  for (; n <= 30; ++n) {
    const std::string candidate = "新規項目" + std::to_string(n);
    if (std::none_of(m_rows.begin(), m_rows.end(), [&](const TCategoryRow& r) { return r.name == candidate; })) break;
  }
  const int at = std::clamp(selected + 1, 0, Count());
  m_rows.insert(m_rows.begin() + at, TCategoryRow{"新規項目" + std::to_string(n), kKindPayment, true});
  selected = at;
  return {};
}

void TCategoryRows::RemoveAt(int index, int& selected) {
  m_rows.erase(m_rows.begin() + index);
  if (index < selected || selected >= Count()) --selected;
  selected = std::clamp(selected, 0, std::max(Count() - 1, 0));
}

std::string TCategoryRows::Remove(int& selected) {
  if (Count() <= 1) return kLastRow;
  if (selected < 0 || selected >= Count() || IsFixedKind(Row(selected).kind)) return {};
  RemoveAt(selected, selected);
  return {};
}

void TCategoryRows::MoveUp(int& selected) {
  if (selected <= 0 || selected >= Count()) return;
  std::swap(m_rows[static_cast<size_t>(selected)], m_rows[static_cast<size_t>(selected - 1)]);
  --selected;
}

void TCategoryRows::MoveDown(int& selected) {
  if (selected < 0 || selected + 1 >= Count()) return;
  std::swap(m_rows[static_cast<size_t>(selected)], m_rows[static_cast<size_t>(selected + 1)]);
  ++selected;
}

void TCategoryRows::RemoveEmptyRows(int& selected) {
  for (int i = Count() - 1; i >= 0; --i) {
    // The last row stays, as the remove button would keep it.
    if (m_rows[static_cast<size_t>(i)].name.empty() && Count() > 1) RemoveAt(i, selected);
  }
}

std::vector<std::string> TCategoryRows::Check() const {
  const auto any = [this](auto predicate) { return std::any_of(m_rows.begin(), m_rows.end(), predicate); };
  std::vector<std::string> messages;
  if (!any([](const TCategoryRow& r) { return r.kind == kKindPayment; })) {
    messages.emplace_back("支出がひとつもないのはちょっと・・・");
  }
  if (!any([](const TCategoryRow& r) { return r.kind == kKindAsset; })) {
    messages.emplace_back("口座がひとつもないのはちょっと・・・");
  }
  if (!any([](const TCategoryRow& r) { return r.kind == kKindReceipt; })) {
    messages.emplace_back("収入がひとつもないのはちょっと・・・");
  }
  if (!any([](const TCategoryRow& r) { return r.visible; })) {
    messages.emplace_back("全部「表示しない」にしないでください・・・");
  }
  return messages;
}

void TCategoryRows::StoreInto(THeadList& list) const {
  list.Clear();
  for (const TCategoryRow& row : m_rows) {
    const int index = list.AddKey(MakeKey(row.name, row.kind));
    list.Items(index).visible = row.visible ? 1 : 0;
  }
}

std::vector<std::string> CheckPassbookInfo(const TCategoryRows& rows, const TPassbookInfo& info,
                                           const std::string& loadedName, bool isNew) {
  std::vector<std::string> messages = rows.Check();
  if (!messages.empty()) return messages;
  std::string nameMessage = CheckPassbookName(info.name, loadedName, isNew);
  if (!nameMessage.empty()) return {std::move(nameMessage)};
  // Settings and categories are stored in Shift-JIS; refuse now rather than fail on saving.
  std::vector<std::string> texts = {info.ownerName, info.purpose};
  for (int i = 0; i < rows.Count(); ++i) texts.push_back(rows.Row(i).name);
  for (const std::string& text : texts) {
    if (!IsCp932Encodable(text)) messages.push_back("「" + text + "」には保存できない文字が含まれています");
  }
  return messages;
}

TExamplePeriod ExamplePeriod(TDayNumber today, int closingDay, bool endsNextMonth) {
  const TYmd ymd = DecodeDate(today);
  const TPeriod period = PeriodFromClosingDay(ymd.year * 100 + ymd.month, closingDay, endsNextMonth);
  return {std::to_string(ymd.year) + "年" + std::to_string(ymd.month) + "月の場合",
          SlashDate(period.first) + "-" + SlashDate(period.last)};
}

std::vector<TPassbookListRow> ListPassbookRows() {
  ListPassbooks();
  std::vector<TPassbookListRow> rows;
  for (const std::string& folder : PassbookFolders()) {
    TprofileList settings;
    settings.LoadFromFile(folder + "/nbkr.ini");
    const size_t slash = folder.rfind('/');
    rows.push_back({slash == std::string::npos ? folder : folder.substr(slash + 1),
                    settings.ReadString("USERINFO", "NAME", ""), settings.ReadString("USERINFO", "USE", ""), folder});
  }
  return rows;
}

}  // namespace kzm
