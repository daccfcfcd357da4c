#pragma once

// The subcommands of tavimrok-cli. Each takes the arguments after its name (without
// --data-folder, which the entry has taken away) and returns the exit code; problems are
// thrown as TCliError.

#include <string>
#include <vector>

namespace kzm::cli {

using TArgList = std::vector<std::string>;

int ListCommand(const TArgList& args);
int MonthCommand(const TArgList& args);
int SearchCommand(const TArgList& args);
int DemoCommand(const TArgList& args);
int HolidaysCommand(const TArgList& args);
int SeasonsCommand(const TArgList& args);
int ImportCommand(const TArgList& args);
int ImportUndoCommand(const TArgList& args);
int ImportLedgerCommand(const TArgList& args);
int RecurringCommand(const TArgList& args);
int BudgetCommand(const TArgList& args);
int ReportCommand(const TArgList& args);
int BackupCommand(const TArgList& args);
int BackupsCommand(const TArgList& args);
int RestoreCommand(const TArgList& args);
int CardCommand(const TArgList& args);
int ForecastCommand(const TArgList& args);
int ServeCommand(const TArgList& args);
int AddCommand(const TArgList& args);
int MergeCommand(const TArgList& args);

// Help texts: the overview and one per subcommand.
extern const char* const kOverviewHelp;
extern const char* const kListHelp;
extern const char* const kMonthHelp;
extern const char* const kSearchHelp;
extern const char* const kDemoHelp;
extern const char* const kHolidaysHelp;
extern const char* const kSeasonsHelp;
extern const char* const kImportHelp;
extern const char* const kImportUndoHelp;
extern const char* const kImportLedgerHelp;
extern const char* const kRecurringHelp;
extern const char* const kBudgetHelp;
extern const char* const kReportHelp;
extern const char* const kBackupHelp;
extern const char* const kBackupsHelp;
extern const char* const kRestoreHelp;
extern const char* const kCardHelp;
extern const char* const kForecastHelp;
extern const char* const kServeHelp;
extern const char* const kAddHelp;
extern const char* const kMergeHelp;

}  // namespace kzm::cli
