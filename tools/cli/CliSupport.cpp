#include "CliSupport.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "foundation/AppGlobal.h"
#include "foundation/Files.h"
#include "foundation/Text.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"
#include "settlement/CarryRun.h"
#include "sync/SyncMerge.h"

namespace kzm::cli {

void UsageError(const std::string& message) { throw TCliError(message + "\n詳しくは --help をご覧ください。", 2); }

TArgs ParseArgs(const std::vector<std::string>& args, const std::set<std::string>& allowed) {
  TArgs result;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      result.help = true;
    } else if (arg.size() > 1 && arg[0] == '-' && !(arg[1] >= '0' && arg[1] <= '9')) {
      if (!allowed.contains(arg)) UsageError("知らないオプションです: " + arg);
      if (i + 1 >= args.size()) UsageError(arg + " のあとに値がありません。");
      result.options[arg] = args[++i];
    } else {
      result.positional.push_back(arg);
    }
  }
  return result;
}

const std::string* Option(const TArgs& parsed, const std::string& name) {
  const auto found = parsed.options.find(name);
  return found == parsed.options.end() ? nullptr : &found->second;
}

bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
  const auto found = std::find(args.begin(), args.end(), flag);
  if (found == args.end()) return false;
  args.erase(found);
  return true;
}

std::string FindPassbook(const std::string& nameOrFolder) {
  const std::string given = StripTrailingBackslashes(nameOrFolder);
  if (given.empty()) UsageError("通帳を指定してください。");
  if (FileExists(given + "/nbkr.ini")) return given;
  if (given.find('/') == std::string::npos) {
    const std::string inData = AppGlobal().DataPath() + given;
    if (FileExists(inData + "/nbkr.ini")) return inData;
  }
  throw TCliError("通帳が見つかりません: " + nameOrFolder);
}

void OpenPassbookFolder(const std::string& folder, TPassbookAccess access, bool mergeCopies) {
  const std::string daily = folder + "/Daily";
  if (FileExists(daily)) throw TCliError("月のデータのフォルダ「" + daily + "」がフォルダではありません。");
  // The reason (who holds the passbook) has been told already.
  const bool opened = mergeCopies ? OpenPassbookSynced(folder, access) : OpenPassbookCarried(folder, access);
  if (!opened) throw TCliError("通帳を開けませんでした: " + folder);
}

void RequireEverythingRead() {
  const std::vector<std::string>& failures = CurrentMonthData().ReadFailures();
  if (failures.empty()) return;
  std::string names;
  for (const std::string& path : failures) names += "\n  " + path;
  throw TCliError("読み込めないファイルがあるため、結果を出力しません:" + names);
}

int32_t ParseNumberArgument(const std::string& option, const std::string& text) {
  const std::string plain = ReplaceAll(Trim(text), ",", "");
  int32_t value = 0;
  const char* end = plain.data() + plain.size();
  const auto [stop, problem] = std::from_chars(plain.data(), end, value);
  if (plain.empty() || problem != std::errc() || stop != end) UsageError(option + " は整数で指定してください: " + text);
  return value;
}

// A text as one tab-separated field: line breaks become "\n" and tabs "\t".
std::string Field(std::string_view text) {
  std::string result = ReplaceAll(text, "\r\n", "\\n");
  result = ReplaceAll(result, "\n", "\\n");
  result = ReplaceAll(result, "\r", "\\n");
  return ReplaceAll(result, "\t", "\\t");
}

// "yyyymm" with a month from 1 to 12.
int32_t ParseMonthKey(const std::string& text) {
  const bool digits = text.size() == 6 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
  const int key = digits ? std::stoi(text) : 0;
  if (!digits || KeyYear(key) < 1 || KeyMonth(key) < 1 || KeyMonth(key) > 12) {
    UsageError("月は yyyymm の6桁で指定してください: " + text);
  }
  return key;
}

void TCliWindowSystem::Notify(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }

bool TCliWindowSystem::AskYesNo(const std::string& text) {
  std::fprintf(stderr, "%s (いいえ)\n", text.c_str());
  return false;
}

}  // namespace kzm::cli
