#include "search/ReplacePending.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "foundation/ThisPc.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"

namespace kzm {

namespace {

constexpr size_t kMaxFileSize = 64 * 1024;

std::string PathIn(const std::string& folder) { return PcOwnPath(folder, kReplacePendingFileName); }

std::string DayField(TDayNumber day) { return day == 0 ? std::string() : FormatDate8(day); }

// An empty field is an open end; anything else must be the yyyymmdd the record is written
// with. A damaged date must never widen the run to every month.
bool ReadDay(const std::string& field, TDayNumber& day) {
  day = 0;
  return field.empty() || TryParseDate8(field, day);
}

// A category name and kind number as the record holds them: a name that is blank, or a kind
// no category can have, is damage, never a key to replace.
bool ReadKey(const std::string& name, const std::string& kindField, std::string& key) {
  int32_t kind = 0;
  if (Trim(name).empty() || !TryParseInt(kindField, kind)) return false;
  if (kind != kKindPayment && kind != kKindAsset && kind != kKindReceipt && kind != kKindMemo) return false;
  key = MakeKey(name, kind);
  return true;
}

// The request of a record's fields; false when any field is damaged.
bool ReadRequest(const std::vector<std::string>& fields, TReplaceRequest& request) {
  return fields.size() >= 6 && ReadKey(fields[0], fields[1], request.before) &&
         ReadKey(fields[2], fields[3], request.after) && ReadDay(fields[4], request.first) &&
         ReadDay(fields[5], request.last);
}

std::string RangeText(const TReplaceRequest& request) {
  if (request.first == 0 && request.last == 0) return "全期間";
  return (request.first ? FormatDateSlashed(request.first) : std::string()) + "～" +
         (request.last ? FormatDateSlashed(request.last) : std::string());
}

}  // namespace

std::string PassbookFolderOf(const TkzmDataUnit& data) {
  return std::filesystem::path(data.Folder()).parent_path().string();
}

bool ReadPendingReplace(const std::string& passbookFolder, std::optional<TReplaceRequest>& pending,
                        std::string& error) {
  pending.reset();
  const std::string path = PathIn(passbookFolder);
  std::string bytes;
  if (!ReadOwnFile(path, kMaxFileSize, "置換の記録", bytes, error)) return false;
  const std::vector<std::string> lines = NonEmptyLines(bytes);
  if (lines.empty()) return true;
  TReplaceRequest request;
  if (!ReadRequest(CsvSplit(DecodeCp932(lines.front())), request)) {
    error = "置換の記録「" + path + "」の内容が読み取れません。";
    return false;
  }
  pending = request;
  return true;
}

bool WritePendingReplace(const std::string& passbookFolder, const TReplaceRequest& request, std::string& error) {
  const std::string path = PathIn(passbookFolder);
  const std::string line = CsvJoin({KeyName(request.before), std::to_string(KeyKind(request.before)),
                                    KeyName(request.after), std::to_string(KeyKind(request.after)),
                                    DayField(request.first), DayField(request.last)}) +
                           "\r\n";
  return WriteOwnFile(path, line, "置換の記録", error);
}

bool RemovePendingReplace(const std::string& passbookFolder, std::string& error) {
  const std::string path = PathIn(passbookFolder);
  if (std::remove(path.c_str()) == 0 || errno == ENOENT) return true;
  error = "置換の記録「" + path + "」を削除できません。\n" + SystemErrorText(errno);
  return false;
}

std::string PendingReplaceQuestion(const TReplaceRequest& pending) {
  return "前回の項目の置換が途中で止まっています。\n「" + KeyName(pending.before) + "」→「" +
         KeyName(pending.after) + "」（" + RangeText(pending) + "）\n続きを実行して置換を終えますか？\n\n" +
         "「いいえ」を選ぶと、ここまでに置き換えた分はそのままで、記録を消します。";
}

}  // namespace kzm
