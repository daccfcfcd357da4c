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
#include "passbook/Categories.h"
#include "passbook/MonthData.h"

namespace kzm {

namespace {

constexpr size_t kMaxFileSize = 64 * 1024;

std::string PathIn(const std::string& folder) { return folder + "/" + kReplacePendingFileName; }

std::string DayField(TDayNumber day) { return day == 0 ? std::string() : FormatDate8(day); }

// An empty field is an open end; anything else must be a date.
bool ReadDay(const std::string& field, TDayNumber& day) {
  day = field.empty() ? 0 : ParseDate(field);
  return field.empty() || day != 0;
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
  const std::vector<std::string> fields = CsvSplit(DecodeCp932(lines.front()));
  TReplaceRequest request;
  int32_t kindBefore = 0, kindAfter = 0;
  if (fields.size() < 6 || fields[0].empty() || fields[2].empty() || !TryParseInt(fields[1], kindBefore) ||
      !TryParseInt(fields[3], kindAfter) || !ReadDay(fields[4], request.first) || !ReadDay(fields[5], request.last)) {
    error = "置換の記録「" + path + "」の内容が読み取れません。";
    return false;
  }
  request.before = MakeKey(fields[0], kindBefore);
  request.after = MakeKey(fields[2], kindAfter);
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
