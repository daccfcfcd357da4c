#include "passbook/SyncIgnore.h"

#include <set>

#include "foundation/AtomicFile.h"
#include "foundation/OwnFiles.h"
#include "foundation/Text.h"

namespace kzm {

namespace {

constexpr size_t kIgnoreLimit = 256 * 1024;
const char* const kHeading = "// もるぽ通帳: PCごとのロック・作業の記録・書きかけのファイル（プログラムが加えた行）";

}  // namespace

const std::vector<std::string>& SyncIgnorePatterns() {
  static const std::vector<std::string> patterns{
      "*.pc-*",        // this program's per-PC files and folders
      "*.tmp[0-9]*",   // atomic writes in progress ("<name>.tmp<pid>-<n>")
      "tavimrok.lock", // one running program per data folder, on this PC
      "Writer.lock",   // the names earlier versions gave them
      "CarryJournal.csv",
      "RecurringPending.csv",
      "ReplacePending.csv",
      "StatementLastImport.csv",
      "Restore.ini",
      ".*.restore",
      "pending",
      "pending.stray",
  };
  return patterns;
}

bool KeepSyncIgnore(const std::string& dataFolder, std::string& error) {
  const std::string path = dataFolder + "/" + kSyncIgnoreFileName;
  std::string bytes;
  if (!ReadOwnFile(path, kIgnoreLimit, kSyncIgnoreFileName, bytes, error)) return false;
  std::set<std::string> present;
  for (const std::string& line : NonEmptyLines(bytes)) present.insert(std::string(Trim(line)));
  std::string added;
  for (const std::string& pattern : SyncIgnorePatterns()) {
    if (!present.contains(pattern)) added += pattern + "\n";
  }
  if (added.empty()) return true;
  if (!bytes.empty() && bytes.back() != '\n') bytes += '\n';
  if (!present.contains(kHeading)) bytes += std::string(kHeading) + "\n";
  return WriteFileAtomic(path, bytes + added, &error);
}

}  // namespace kzm
