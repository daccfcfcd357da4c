#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "passbook/MonthEntry.h"

namespace kzm {

// The month file ("yyyymm.kzm" in a passbook's Daily folder): CP932 text, one entry per line,
// lines ended by CR LF, in (date, sequence) order. Each line is a CSV record of eight fields:
// date "yyyymmdd", kind name of the category, its display name, kind name of the account,
// its display name, amount in decimal, item text, note. When read, the kinds may also be
// kind codes in decimal and the date anything ParseDate reads.

// A month file larger than this is far beyond any real month (a busy month is some 100 KB);
// it is not read, and so never written over.
constexpr size_t kMaxMonthFileSize = 16 * 1024 * 1024;

// An entry line of a month file as read. Its texts point into the text of the line and last
// only as long as the call that shows it; the kinds have their defaults applied, and a memo's
// category and account are "メモ" whatever the line says.
struct TEntryLine {
  int32_t date = 0;
  int32_t amount = 0;
  int32_t placeInDay = 0;  // how many entry lines of the same day came before it in the file
  int kind = 0;            // of the category
  int accountKind = 0;
  std::string_view category;
  std::string_view account;
  std::string_view itemText;
  std::string_view note;
  std::span<const std::string_view> extraFields;  // past the eighth
};

// The entry the line stands for, its sequence its place in the day.
[[nodiscard]] TkzmEntry MakeEntry(const TEntryLine& line);
// The same into entry, whose memory is used again.
void AssignEntry(TkzmEntry& entry, const TEntryLine& line);

// What reading a month file shows, line by line in file order.
class TMonthLineSink {
 public:
  virtual void Entry(const TEntryLine& line) = 0;
  // A line that is no entry of the month, as its bytes; sortDate as in TKeptLine.
  virtual void Kept(int32_t sortDate, std::string_view bytes) = 0;

 protected:
  ~TMonthLineSink() = default;
};

// Reads the lines of a month file's bytes. Lines dated firstDay..lastDay with at least eight
// fields and an amount that is a plain integer are entries; every other line is kept as its
// bytes. Returns how many lines were kept for their amount.
int ReadMonthLines(std::string_view bytes, int32_t firstDay, int32_t lastDay, TMonthLineSink& sink);

// ReadMonthLines gathering the entries (in file order) and the kept lines.
int ParseMonthBytes(std::string_view bytes, int32_t firstDay, int32_t lastDay,
                    std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept);

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

// Writes the file atomically, creating its folder. On failure the old file is untouched and
// error holds the message for the user, naming the file.
[[nodiscard]] bool WriteMonthFile(const std::string& path,
                                  const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                                  const std::vector<TKeptLine>& kept, std::string& error);

}  // namespace kzm
