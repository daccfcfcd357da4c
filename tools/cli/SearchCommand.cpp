// search: the entries of a passbook that match, as the lines of the search export.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "foundation/Dates.h"
#include "passbook/MonthData.h"
#include "passbook/MonthFile.h"
#include "passbook/MonthRange.h"
#include "search/Search.h"
#include "search/SearchCsvFile.h"

namespace kzm::cli {

namespace {

TDayNumber ParseDayArgument(const std::string& option, const std::string& text) {
  const TDayNumber day = ParseDate(text);
  if (day == 0) UsageError(option + " の日付が読めません (yyyymmdd): " + text);
  return day;
}

// "payment,receipt,assets,memo": the kinds searched; the others are left out.
void ParseKinds(const std::string& text, TSearchConditions& conditions) {
  conditions.payments = conditions.receipts = conditions.assetMoves = conditions.memos = false;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string kind = text.substr(start, comma - start);
    if (kind == "payment") conditions.payments = true;
    else if (kind == "receipt") conditions.receipts = true;
    else if (kind == "assets") conditions.assetMoves = true;
    else if (kind == "memo") conditions.memos = true;
    else UsageError("--kinds に知らない種類があります: " + kind);
    start = comma + 1;
  }
}

TSearchConditions ReadConditions(const TArgs& parsed) {
  TSearchConditions conditions;
  for (const auto& [option, value] : parsed.options) {
    if (option == "--from") conditions.first = ParseDayArgument(option, value);
    else if (option == "--to") conditions.last = ParseDayArgument(option, value);
    else if (option == "--category") conditions.category = value;
    else if (option == "--item") conditions.itemText = value;
    else if (option == "--note") conditions.note = value;
    else if (option == "--account") conditions.account = value;
    else if (option == "--max") conditions.upper = ParseNumberArgument(option, value);
    else if (option == "--min") conditions.lower = ParseNumberArgument(option, value);
    else if (option == "--kinds") ParseKinds(value, conditions);
  }
  return conditions;
}

// Whether the month file can be read whole, as the search will read it: nothing there (a
// month without entries), or a file this process may open, of at most kMaxMonthFileSize.
bool MonthFileReadable(const std::string& path) {
  // Not waiting: a named pipe in the file's place is no month file.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return errno == ENOENT;
  struct stat st {};
  const bool readable = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
                        static_cast<uint64_t>(st.st_size) <= kMaxMonthFileSize;
  ::close(fd);
  return readable;
}

// Takes the lines of a month read only to hear why it cannot be read.
class TDropLines final : public TMonthLineSink {
 public:
  void Entry(const TEntryLine&) override {}
  void Kept(int32_t, std::string_view) override {}
};

// The lines go out as they are found, so a result is printed before every month is read; a
// file that cannot be read must end the search before anything is printed, as it always did.
// Such a file is then read the month data's way, which says why and names it.
void RequireMonthFilesReadable(const TSearchConditions& conditions) {
  TkzmDataUnit& data = CurrentMonthData();
  const std::vector<TMonthOfFile> months = MonthsToWalk(data);
  TDropLines drop;
  for (const TMonthOfFile& m : months) {
    TDayNumber first = 0;
    TDayNumber last = 0;
    if (!MonthDaysInRange(m.year, m.month, conditions.first, conditions.last, first, last)) continue;
    if (!MonthFileReadable(data.MonthFilePath(m.year, m.month))) (void)data.ReadMonthLines(m.year, m.month, drop);
  }
  RequireEverythingRead();
}

// Writes the results of each month as soon as the month is searched, to stdout or to the
// export file, and forgets them: memory stays the same however many entries match.
bool SearchAndWrite(const TSearchConditions& conditions, const std::optional<std::string>& outputPath) {
  std::optional<TSearchCsvFile> file;
  std::string error;
  if (outputPath) {
    file.emplace(*outputPath);
    if (!file->Open(error)) throw TCliError(error);
  } else {
    RequireMonthFilesReadable(conditions);
  }
  TSearchResults results;
  std::string lines;
  bool written = true;
  const bool read = SearchAllMonths(CurrentMonthData(), conditions, results, [&] {
    if (file) {
      written = file->Add(results.Entries(), error);
    } else {
      lines.clear();
      for (const TkzmEntry& entry : results.Entries()) {
        lines += SearchCsvLine(entry);
        lines += '\n';
      }
      std::fwrite(lines.data(), 1, lines.size(), stdout);
    }
    results.Clear();
    return written;
  });
  if (!written) throw TCliError(error);
  // The file is given up (the old one kept) when a month could not be read.
  RequireEverythingRead();
  if (file && !file->Commit(error)) throw TCliError(error);
  return read;
}

}  // namespace

int SearchCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--from", "--to", "--category", "--item", "--note", "--account", "--max",
                                        "--min", "--kinds", "--output"});
  if (parsed.help) {
    std::printf("%s", kSearchHelp);
    return 0;
  }
  if (parsed.positional.size() != 1) UsageError("search には通帳をひとつ指定してください。");
  const TSearchConditions conditions = ReadConditions(parsed);
  OpenPassbookFolder(FindPassbook(parsed.positional[0]), TPassbookAccess::paRead);
  const auto output = parsed.options.find("--output");
  const bool read = SearchAndWrite(conditions, output == parsed.options.end() ? std::nullopt
                                                                             : std::optional(output->second));
  return read ? 0 : 1;
}

}  // namespace kzm::cli
