#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "passbook/MonthEntry.h"
#include "passbook/MonthLines.h"

namespace kzm {

class TFolderSyncBatch;

// The month file ("yyyymm.kzm" in a passbook's Daily folder): CP932 text, one entry per line,
// lines ended by CR LF, in (date, sequence) order. Each line is a CSV record of eight fields:
// date "yyyymmdd", kind name of the category, its display name, kind name of the account,
// its display name, amount in decimal, item text, note. When read, the kinds may also be
// kind codes in decimal and the date anything ParseDate reads.

// A month file larger than this is far beyond any real month (a busy month is some 100 KB);
// it is not read, and so never written over.
constexpr size_t kMaxMonthFileSize = 16 * 1024 * 1024;

// The bytes of a month file: entries in their order, kept lines placed among them by date
// (after the entries of their day) as they were read. False when an entry holds a character
// CP932 cannot hold; badChar then names it.
[[nodiscard]] bool FormatMonthBytes(const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                                    const std::vector<TKeptLine>& kept, std::string& bytes,
                                    std::string* badChar = nullptr);

enum class TMonthFileStatus : uint8_t {
  mfRead,      // the file was read
  mfMissing,   // there is no such file: an empty month
  mfTooLarge,  // larger than kMaxMonthFileSize: not read
  mfFailed,    // something is there but could not be read; error holds the errno
};

struct TMonthFileRead {
  TMonthFileStatus status = TMonthFileStatus::mfMissing;
  int error = 0;
  int unreadAmounts = 0;  // lines kept because their amount is no plain integer
};

// ReadMonthLines of the file at path; nothing is read unless the status is mfRead.
TMonthFileRead ReadMonthFile(const std::string& path, int32_t firstDay, int32_t lastDay, TMonthLineSink& sink);
// ParseMonthBytes of the file at path; nothing is read unless the status is mfRead.
TMonthFileRead ReadMonthFile(const std::string& path, int32_t firstDay, int32_t lastDay,
                             std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept);

// Writes the file atomically, creating its folder; with a batch, the folder's sync is left to
// it. On failure the old file is untouched and error holds the message for the user, naming
// the file.
[[nodiscard]] bool WriteMonthFile(const std::string& path,
                                  const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                                  const std::vector<TKeptLine>& kept, std::string& error,
                                  TFolderSyncBatch* batch = nullptr);

}  // namespace kzm
