#pragma once

#include <cstdint>
#include <memory>
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

// Reads the lines of a month file's text (UTF-8). Lines dated firstDay..lastDay with at least
// eight fields become entries, in file order (sequence left 0); every other line is kept.
void ParseMonthText(std::string_view text, int32_t firstDay, int32_t lastDay,
                    std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept);

// The text of a month file: entries in their order, kept lines placed among them by date.
[[nodiscard]] std::string FormatMonthText(const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                                          const std::vector<TKeptLine>& kept);

// ParseMonthText of the file at path. False, with nothing read, when there is no such file.
bool ReadMonthFile(const std::string& path, int32_t firstDay, int32_t lastDay,
                   std::vector<TkzmEntry>& entries, std::vector<TKeptLine>& kept);

// Writes the file atomically, creating its folder. On failure the old file is untouched and
// error holds the message for the user.
[[nodiscard]] bool WriteMonthFile(const std::string& path,
                                  const std::vector<std::unique_ptr<TkzmEntry>>& entries,
                                  const std::vector<TKeptLine>& kept, std::string& error);

}  // namespace kzm
