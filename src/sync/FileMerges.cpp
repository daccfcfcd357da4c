#include "sync/FileMerges.h"

#include <algorithm>

#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "sync/LineMerge.h"

namespace kzm {

namespace {

bool IsMonthName(const std::string& name) {
  return name.size() == 10 && name.ends_with(".kzm") && name.find_first_not_of("0123456789") == 6;
}

// Each file's key of a line (its fields as CP932 bytes); empty for a line that is no record.
std::string KeyOf(const std::string& name, const std::vector<std::string>& f) {
  if (f.empty()) return {};
  if (name == "Recurring.csv") {
    if ((f[0] == "option" || f[0] == "template") && f.size() >= 2) return f[0] + "," + f[1];
    // Entered or skipped, an occurrence is one key: it is handled once.
    if ((f[0] == "entered" || f[0] == "skipped") && f.size() >= 3) return "occurrence," + f[1] + "," + f[2];
    return {};
  }
  if (name == "Cards.csv") return f[0] == "card" && f.size() >= 2 ? "card," + f[1] : std::string();
  if (name == "Budget.csv") return f.size() >= 4 ? f[0] + "," + f[1] + "," + f[2] : std::string();
  if (name == "StatementRules.csv") return f.size() >= 3 ? f[0] : std::string();
  // The imported ids and the carry journal: each line is a fact of its own.
  return CsvJoin(f);
}

int64_t Number(std::string_view line) {
  const size_t comma = line.rfind(',');
  int64_t value = 0;
  for (const char c : line.substr(comma + 1)) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

// Recurring.csv: an occurrence entered on either side stays entered; the next id never goes back.
int PickRecurring(std::string_view ours, std::string_view theirs) {
  const bool oursEntered = ours.starts_with("entered,");
  const bool theirsEntered = theirs.starts_with("entered,");
  if (oursEntered != theirsEntered) return oursEntered ? 1 : -1;
  if (ours.starts_with("option,NextId,")) return Number(ours) >= Number(theirs) ? 1 : -1;
  return 0;
}

std::string DayText(int32_t day) {
  return std::to_string(day / 10000) + "年" + std::to_string(day / 100 % 100) + "月" + std::to_string(day % 100) + "日";
}

TFileResult MergeMonth(const std::string* base, const TVersions& versions) {
  TFileResult result{versions.ours.bytes, versions.ours.bytes, {}, {}};
  int added = 0;
  int removed = 0;
  std::vector<int32_t> days;
  for (const TVersion& theirs : versions.theirs) {
    const TMonthMerge merge = MergeMonthBytes(base, result.bytes, theirs.bytes);
    result.bytes = merge.bytes;
    added += merge.added;
    removed += merge.removed;
    days.insert(days.end(), merge.conflictDays.begin(), merge.conflictDays.end());
    result.common = MergeMonthBytes(nullptr, result.common, theirs.bytes).common;
  }
  result.kept = "ほかのPCの記入を" + std::to_string(added) + "件加え、" + std::to_string(removed) + "件を除きました。";
  if (!base) result.kept += "(前の版が分からないため、両方の記入をすべて残しました。)";
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  std::string named;
  for (const int32_t day : days) named += (named.empty() ? "" : "、") + DayText(day);
  if (!named.empty()) result.needsPerson = named + "の記入が両方のPCで変えられていたため、両方を残しました。見直してください。";
  return result;
}

TFileResult MergeKeyed(TFileKind kind, const std::string& name, const TVersions& versions) {
  TFileResult result{versions.ours.bytes, {}, {}, {}};
  int added = 0;
  std::vector<std::string> keys;
  for (const TVersion& theirs : versions.theirs) {
    const bool oursNewer = versions.ours.changedAt >= theirs.changedAt;
    TKeyedMerge merge;
    if (kind == TFileKind::fkSettings) {
      merge = MergeIniBytes(nullptr, result.bytes, theirs.bytes, oursNewer);
    } else if (kind == TFileKind::fkCategories) {
      merge = MergeCategoryBytes(nullptr, result.bytes, theirs.bytes, oursNewer);
    } else {
      const TLinePick pick = name == "Recurring.csv" ? TLinePick(PickRecurring) : TLinePick();
      const auto keyOf = [&name](const std::vector<std::string>& fields) { return KeyOf(name, fields); };
      merge = MergeKeyedBytes(nullptr, result.bytes, theirs.bytes, keyOf, oursNewer, pick);
    }
    result.bytes = merge.bytes;
    added += merge.added;
    keys.insert(keys.end(), merge.conflictKeys.begin(), merge.conflictKeys.end());
  }
  result.kept = "ほかのPCの変更を" + std::to_string(added) + "件取り入れました。";
  std::string named;
  for (std::string key : keys) {
    std::replace(key.begin(), key.end(), '\x1f', ' ');
    named += (named.empty() ? "「" : "」「") + DecodeCp932(key);
  }
  // The rule decided; the person hears of it, but nothing is left to decide.
  if (!named.empty()) result.kept += named + "」は両方のPCで変えられていたため、新しいほうを残しました。";
  // An occurrence both PCs entered differently (another day or amount) is in the month twice.
  const auto twice = std::count_if(keys.begin(), keys.end(), [](const std::string& k) { return k.starts_with("occurrence,"); });
  if (twice > 0) {
    result.needsPerson = "定期的な記入の" + std::to_string(twice) +
                         "回が両方のPCで違う日か金額で記入されています。二重になった記入を消してください。";
  }
  return result;
}

}  // namespace

TFileKind KindOfFile(const std::string& relative) {
  const size_t slash = relative.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : relative.substr(0, slash);
  const std::string name = relative.substr(slash == std::string::npos ? 0 : slash + 1);
  if (folder == "Daily") return IsMonthName(name) ? TFileKind::fkMonth : TFileKind::fkUnknown;
  if (folder == "Monthly") return TFileKind::fkSettlement;
  if (!folder.empty()) return TFileKind::fkUnknown;
  if (name == "nbkr.ini") return TFileKind::fkSettings;
  if (name == "Headfile.dta") return TFileKind::fkCategories;
  for (const char* keyed : {"Recurring.csv", "Cards.csv", "Budget.csv", "StatementRules.csv", "StatementIds.csv",
                            "CarryJournal.csv"}) {
    if (name == keyed) return TFileKind::fkKeyed;
  }
  if (name == "PassbookId.ini" || name == "StatementLastImport.csv" || name == "Writer.lock") return TFileKind::fkThisPc;
  return TFileKind::fkUnknown;
}

TFileResult MergeFile(TFileKind kind, const std::string& relative, const std::string* base, const TVersions& versions) {
  if (kind == TFileKind::fkMonth) return MergeMonth(base, versions);
  if (kind == TFileKind::fkThisPc) {
    return {versions.ours.bytes, {}, "このPCの版を残し、ほかのPCの写しを除きました。", {}};
  }
  return MergeKeyed(kind, relative.substr(relative.rfind('/') + 1), versions);
}

}  // namespace kzm
