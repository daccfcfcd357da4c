// backup, backups and restore: a passbook's backups through the same code as the window.

#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "backup/Backup.h"
#include "backup/BackupChoices.h"
#include "backup/BackupPlace.h"
#include "foundation/AppGlobal.h"
#include "foundation/Files.h"

namespace kzm::cli {

namespace {

// The backup named by a path, or by a file name in the passbook's backup folder.
std::string FindBackup(const TBackupStore& store, const std::string& given) {
  if (FileExists(given)) return given;
  if (given.find('/') == std::string::npos && FileExists(store.BackupFolder() + "/" + given)) {
    return store.BackupFolder() + "/" + given;
  }
  throw TCliError("バックアップが見つかりません: " + given);
}

int ParseMonth(const std::string& text) {
  const int month = ReadRestoreMonth(text);
  if (month == 0) UsageError("--month は YYYYMM で指定してください。");
  return month;
}

}  // namespace

void BackupBeforeChange(const std::string& passbookFolder, TBackupReason reason) {
  TBackupStore store = BackupStoreOf(passbookFolder);
  const TBackupOutcome outcome = store.Take(reason);
  if (!outcome.ok) throw TCliError("バックアップできなかったので、何も変えませんでした。\n" + outcome.message);
  if (!outcome.message.empty()) std::fprintf(stderr, "%s\n", outcome.message.c_str());
  std::fprintf(stderr, "バックアップしました: %s\n", outcome.path.c_str());
}

int BackupCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--reason"});
  if (parsed.help) {
    std::printf("%s", kBackupHelp);
    return 0;
  }
  if (parsed.positional.size() != 1) UsageError("backup には通帳をひとつ指定してください。");
  const std::string folder = FindPassbook(parsed.positional[0]);
  // The writer's lock, and whatever a stopped run left, before the copy is taken.
  OpenPassbookFolder(folder, TPassbookAccess::paWrite);
  TBackupStore store = BackupStoreOf(folder);
  const auto reason = parsed.options.find("--reason");
  const TBackupOutcome outcome =
      store.Take(TBackupReason::brManual, reason == parsed.options.end() ? std::string() : reason->second);
  if (!outcome.ok) throw TCliError(outcome.message);
  std::printf("%s\t%d\n", outcome.path.c_str(), outcome.files);
  if (!outcome.unreadable.empty()) throw TCliError(outcome.message);
  return 0;
}

int BackupsCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {});
  if (parsed.help) {
    std::printf("%s", kBackupsHelp);
    return 0;
  }
  if (parsed.positional.size() != 1) UsageError("backups には通帳をひとつ指定してください。");
  const TBackupStore store = BackupStoreOf(FindPassbook(parsed.positional[0]));
  for (const TBackupInfo& info : store.List()) {
    std::printf("%s\t%s\t%lld\t%s\n", BackupTimeText(info.time).c_str(), info.reasonText.c_str(),
                static_cast<long long>(info.size), info.path.c_str());
  }
  return 0;
}

int RestoreCommand(const TArgList& args) {
  TArgList rest = args;
  const bool force = TakeFlag(rest, "--force");
  const TArgs parsed = ParseArgs(rest, {"--month"});
  if (parsed.help) {
    std::printf("%s", kRestoreHelp);
    return 0;
  }
  if (parsed.positional.size() != 2) UsageError("restore には通帳とバックアップを指定してください。");
  const auto monthOption = parsed.options.find("--month");
  const int month = monthOption == parsed.options.end() ? 0 : ParseMonth(monthOption->second);
  const std::string folder = FindPassbook(parsed.positional[0]);
  // The program would write what it holds in memory over the files put back.
  if (AppGlobal().IsAlreadyRunning()) {
    throw TCliError("もるぽ通帳がこのデータフォルダを開いています。本体の「バックアップと復元」から戻してください。");
  }
  OpenPassbookFolder(folder, TPassbookAccess::paWrite);
  TBackupStore store = BackupStoreOf(folder);
  const std::string backup = FindBackup(store, parsed.positional[1]);
  const TRestoreOutcome outcome = store.Restore(backup, month == 0 ? std::string() : MonthMember(month), force);
  if (!outcome.ok) {
    if (!outcome.before.empty()) std::fprintf(stderr, "復元の前の状態: %s\n", outcome.before.c_str());
    throw TCliError(outcome.otherPassbook ? outcome.message + "\nそれでも戻すときは --force をつけてください。"
                                          : outcome.message);
  }
  // Opened again from the files put back; a restored month carries its balances forward.
  OpenPassbookFolder(folder, TPassbookAccess::paWrite);
  std::printf("復元しました: %s\n復元の前の状態: %s\n", backup.c_str(), outcome.before.c_str());
  return 0;
}

}  // namespace kzm::cli
