// holidays and seasons: the program's almanac for a year or a range of years.

#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "calendar/AlmanacLines.h"

namespace kzm::cli {

namespace {

template <typename TLines>
int PrintYears(const TArgList& args, const char* help, TLines lines) {
  const TArgs parsed = ParseArgs(args, {});
  if (parsed.help) {
    std::printf("%s", help);
    return 0;
  }
  if (parsed.positional.empty() || parsed.positional.size() > 2) UsageError("年をひとつかふたつ指定してください。");
  const auto first = ParseYearArgument(parsed.positional.front());
  const auto last = ParseYearArgument(parsed.positional.back());
  if (!first || !last) UsageError("年は1から9999までの数で指定してください。");
  for (const std::string& line : lines(Almanac(), *first, *last)) std::printf("%s\n", line.c_str());
  return 0;
}

}  // namespace

int HolidaysCommand(const TArgList& args) { return PrintYears(args, kHolidaysHelp, HolidayLines); }

int SeasonsCommand(const TArgList& args) { return PrintYears(args, kSeasonsHelp, SeasonLines); }

}  // namespace kzm::cli
