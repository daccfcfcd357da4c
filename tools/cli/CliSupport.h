#pragma once

// Shared pieces of the command-line companion: its errors, argument splitting, finding a
// passbook, and the window system that turns the core's messages into lines on stderr.

#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "backup/Backup.h"
#include "foundation/WindowSystem.h"
#include "passbook/Profile.h"

namespace kzm::cli {

// A problem the user must hear about: printed on stderr, the program ends with exitCode.
class TCliError : public std::runtime_error {
 public:
  explicit TCliError(const std::string& message, int exitCode = 1)
      : std::runtime_error(message), m_exitCode(exitCode) {}
  [[nodiscard]] int ExitCode() const { return m_exitCode; }

 private:
  int m_exitCode;
};

// A mistake in the command line: exit code 2.
[[noreturn]] void UsageError(const std::string& message);

// The arguments of one subcommand: positional ones in order, options with their values.
struct TArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "--years" -> "30"
  bool help = false;                           // --help or -h
};

// Splits args. Every option must be one of allowed, and takes the next argument as its value.
[[nodiscard]] TArgs ParseArgs(const std::vector<std::string>& args, const std::set<std::string>& allowed);
// The value of the option name; null when it was not given.
[[nodiscard]] const std::string* Option(const TArgs& parsed, const std::string& name);
// Takes the flag out of args, before ParseArgs sees it; true when it was there.
bool TakeFlag(std::vector<std::string>& args, const std::string& flag);

// The folder of a passbook named by a folder path or by its name in the data folder.
[[nodiscard]] std::string FindPassbook(const std::string& nameOrFolder);
// Opens the passbook as the program does. For writing, the passbook's writer lock is taken
// (waiting a little for another writer) and balances a stopped run left are carried; a
// reader waits for nothing and writes nothing. A writer merges the conflict copies a sync
// engine left (mergeCopies false leaves them to the caller). A Daily that is not a folder is
// an error: every month would look empty.
void OpenPassbookFolder(const std::string& folder, TPassbookAccess access, bool mergeCopies = true);
// Ends with exit code 1, naming the files, when a month file or the Daily folder could not be
// read: a result without them would look complete and be wrong.
void RequireEverythingRead();

// Backs the passbook up before a change to many entries; TCliError (nothing changed) when
// the backup could not be written. Files left out of it are named on stderr.
void BackupBeforeChange(const std::string& passbookFolder, TBackupReason reason);

// A whole number, commas allowed between digits ("12,345"); UsageError for anything else.
[[nodiscard]] int32_t ParseNumberArgument(const std::string& option, const std::string& text);

// A text as one tab-separated field: line breaks become "\n" and tabs "\t".
[[nodiscard]] std::string Field(std::string_view text);
// "yyyymm" with a month from 1 to 12 as a month key; UsageError for anything else.
[[nodiscard]] int32_t ParseMonthKey(const std::string& text);

// Messages of the core go to stderr; questions are answered "no"; there are no windows.
class TCliWindowSystem : public TWindowSystem {
 public:
  void BroadcastToForms(int, int, int) override {}
  void Notify(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool CloseDataWindows() override { return true; }
  int DefaultTextHeight() override { return 13; }
  bool OpenDocument(const std::string&) override { return false; }
  bool MoveToRecycleBin(const std::string&) override { return false; }
};

}  // namespace kzm::cli
