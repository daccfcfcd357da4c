#pragma once

// The record of a category replacement that is not through yet, so that one stopped by a
// kill, a crash or a month it could not write can be finished: running the same request again
// finishes it exactly, as what it already replaced holds no old key any more.
//
// ReplacePending.pc-<id>.csv (this PC's own, see PcOwnPath) in the passbook folder: CP932, one
// line ended by CR LF, six CSV fields:
// the category name and kind number before, the same after, the first and last day of the
// range as yyyymmdd (empty for an open end). Written before the first month changes, removed
// when the run ends.

#include <optional>
#include <string>

#include "search/CategoryReplace.h"

namespace kzm {

inline constexpr const char* kReplacePendingFileName = "ReplacePending.csv";

class TkzmDataUnit;

// The passbook folder of month data: the folder holding its Daily folder.
[[nodiscard]] std::string PassbookFolderOf(const TkzmDataUnit& data);

// The replacement left unfinished in the passbook folder, none when there is no record.
// False, naming the file in error, when the record exists but cannot be read.
[[nodiscard]] bool ReadPendingReplace(const std::string& passbookFolder, std::optional<TReplaceRequest>& pending,
                                      std::string& error);
// Records request as under way, atomically. False, naming the file in error.
[[nodiscard]] bool WritePendingReplace(const std::string& passbookFolder, const TReplaceRequest& request,
                                       std::string& error);
// Takes the record away (a missing one is fine). False, naming the file in error.
[[nodiscard]] bool RemovePendingReplace(const std::string& passbookFolder, std::string& error);

// The question put when a record is found: which replacement stopped, and whether to finish it.
[[nodiscard]] std::string PendingReplaceQuestion(const TReplaceRequest& pending);

}  // namespace kzm
