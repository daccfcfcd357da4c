// tavimrok-cli: the command-line companion. It reads the program's files through the same core
// code and writes only where a subcommand says so.

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "CliSupport.h"
#include "Commands.h"
#include "foundation/AppGlobal.h"
#include "foundation/Files.h"

namespace {

using namespace kzm::cli;

struct TSubcommand {
  const char* name;
  int (*run)(const TArgList&);
};

constexpr TSubcommand kSubcommands[] = {
    {"list", ListCommand},         {"month", MonthCommand},       {"search", SearchCommand},
    {"demo", DemoCommand},         {"holidays", HolidaysCommand}, {"seasons", SeasonsCommand},
    {"import", ImportCommand},     {"import-undo", ImportUndoCommand}, {"recurring", RecurringCommand},
    {"budget", BudgetCommand},     {"report", ReportCommand},          {"backup", BackupCommand},
    {"backups", BackupsCommand},   {"restore", RestoreCommand},        {"card", CardCommand},
    {"forecast", ForecastCommand}, {"import-ledger", ImportLedgerCommand}, {"add", AddCommand},
    {"merge", MergeCommand},       {"serve", ServeCommand},
};

// Takes "--data-folder DIR" out of args, wherever it stands, and adopts DIR for this run.
void TakeDataFolder(TArgList& args) {
  for (size_t i = 0; i < args.size();) {
    if (args[i] != "--data-folder") {
      ++i;
      continue;
    }
    if (i + 1 >= args.size()) UsageError("--data-folder のあとにフォルダがありません。");
    const std::string folder = args[i + 1];
    args.erase(args.begin() + static_cast<std::ptrdiff_t>(i), args.begin() + static_cast<std::ptrdiff_t>(i) + 2);
    // Only demo makes a data folder; the others would create an empty one by a typo.
    if (!kzm::FolderExists(folder) && (args.empty() || args[0] != "demo")) {
      throw TCliError("データフォルダがありません: " + folder);
    }
    kzm::AppGlobal().UseDataFolder(folder);
  }
}

int Run(TArgList args) {
  TakeDataFolder(args);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::printf("%s", kOverviewHelp);
    return args.empty() ? 2 : 0;
  }
  for (const TSubcommand& sub : kSubcommands) {
    if (args[0] == sub.name) return sub.run(TArgList(args.begin() + 1, args.end()));
  }
  UsageError("知らないコマンドです: " + args[0]);
}

}  // namespace

int main(int argc, char** argv) {
  TCliWindowSystem windowSystem;
  kzm::SetWindowSystem(&windowSystem);
  int code = 1;
  try {
    code = Run(TArgList(argv + 1, argv + argc));
  } catch (const TCliError& error) {
    std::fprintf(stderr, "tavimrok-cli: %s\n", error.what());
    code = error.ExitCode();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tavimrok-cli: %s\n", error.what());
    code = 1;
  }
  std::fflush(stdout);
  kzm::SetWindowSystem(nullptr);
  return code;
}
