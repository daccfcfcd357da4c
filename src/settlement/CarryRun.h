#pragma once

// Carrying balances once for a run of changes over many months (an import, recurring entries,
// a restored month, what a stopped run left). Each month built inside a run carries its
// change into the later months in memory, where the months built after it read it; the
// settlements are written together when the run finishes, so each month is written once and
// the disk is synced a few times, however many months the run touched.

#include <set>
#include <string>

#include "foundation/Dates.h"
#include "passbook/Profile.h"

namespace kzm {

class TCarryRun {
 public:
  TCarryRun();
  // A run that did not finish drops what it held: the carry journal still names its months.
  ~TCarryRun();
  TCarryRun(const TCarryRun&) = delete;
  TCarryRun& operator=(const TCarryRun&) = delete;

  // Writes what the run held, all or none. A run inside another leaves that to the outer one.
  // False when it could not be written (told).
  bool Finish();

 private:
  bool m_ended = false;
};

// Builds again, in one run and in order, every accounting month that shares days with a
// month the carry journal names, then takes those months out of it. A passbook that is only
// read keeps the result in memory. False when something could not be written (told).
bool CarryNotedMonths();

// Carries the change of entries on days (whose month files are written) into the later
// months, with whatever the journal names besides. False when something could not be written.
bool CarryChangedDays(const std::set<TDayNumber>& days);

// Builds again the months whose files changed on disk without this PC writing them (the sync
// engine brought them from another PC), with what the journal names besides, and records
// those files as seen. False when the passbook is not open for writing.
bool CarryMonthsChangedElsewhere();

// Opens the passbook as TkzmProfile::OpenPassbook does, then carries what a run stopped
// half-way left uncarried, and what another PC changed.
bool OpenPassbookCarried(const std::string& folder, TPassbookAccess access = TPassbookAccess::paWrite);

}  // namespace kzm
