#pragma once

// Settlement files that change together (a moved month boundary, balances carried forward
// through later months) are written all or none, even when the program is killed between
// two of them. The new files are first written into the folder Monthly/pending.pc-<id> (this
// PC's name, see PcOwnPath: another PC never finishes this PC's batch), and a marker
// file "ready" is written last: that is the record. Then each file is renamed over its
// target and the record removed. A run stopped before the marker changed nothing and its
// pending files are dropped; one stopped after it is finished by FinishSettlementBatch,
// which renames what is left.

#include <string>
#include <utility>
#include <vector>

#include "passbook/MonthKeys.h"

namespace kzm {

// "yyyymm.mif" in the open passbook's Monthly folder; empty without a passbook.
[[nodiscard]] std::string SettlementFilePath(TMonthKey key);

struct TSettlementFile {
  TMonthKey key = 0;
  std::string bytes;
};

// Writes the files of the open passbook together. False when they could not be written (the
// user has been told; no file changed, unless the stop came half-way through renaming, which
// the next FinishSettlementBatch completes).
bool WriteSettlementsTogether(const std::vector<TSettlementFile>& files);

// Completes or drops a batch left by a stopped run. Called when a passbook opens and before
// each batch.
void FinishSettlementBatch();

// The files of a batch a stopped run left ready but not yet moved into place, by month, as
// paths of the pending files; empty when there is none. A process that only reads shows
// these instead of the older files on disk, so that its months agree with each other.
[[nodiscard]] std::vector<std::pair<TMonthKey, std::string>> ReadyBatchFiles();

}  // namespace kzm
