// card and forecast: a card's closing and payment days, its billing cycles, and how every
// account will stand in the months ahead, through the same code as the program's windows.

#include <algorithm>
#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "calendar/BusinessDays.h"
#include "card/CardCycles.h"
#include "card/CardSettings.h"
#include "card/Forecast.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"

namespace kzm::cli {

namespace {

int CardDayArgument(const std::string& option, const std::string& text) {
  // 末 and 末日 are how people write it on a form.
  if (text == "end" || text == "月末" || text == "末" || text == "末日") return kCardMonthEnd;
  const int32_t day = ParseNumberArgument(option, text);
  if (day < 1 || day > kCardLastDay) UsageError(option + " は1から28までか end (月末、末) で指定してください: " + text);
  return day;
}

int PaymentMonthArgument(const std::string& text) {
  if (text == "next" || text == "翌月") return 1;
  if (text == "after-next" || text == "翌々月") return 2;
  UsageError("--month は next (翌月) か after-next (翌々月) で指定してください: " + text);
}

TCardStore LoadCards() {
  TCardStore store;
  std::string error;
  if (!store.Load(CurrentProfile().Folder(), error)) throw TCliError(error);
  return store;
}

int SetCard(const std::string& name, const TArgs& parsed) {
  TCardStore store = LoadCards();
  TCardSettings card;
  if (const TCardSettings* old = store.Find(name)) card = *old;
  card.card = name;
  if (const auto* closing = Option(parsed, "--closing")) card.closingDay = CardDayArgument("--closing", *closing);
  else if (!store.Find(name)) UsageError("--closing で締め日を指定してください。");
  if (const auto* payment = Option(parsed, "--payment")) card.paymentDay = CardDayArgument("--payment", *payment);
  else if (!store.Find(name)) UsageError("--payment で支払日を指定してください。");
  if (const auto* month = Option(parsed, "--month")) card.paymentMonths = PaymentMonthArgument(*month);
  if (const auto* from = Option(parsed, "--from-account")) card.fromAccount = *from;
  const std::string problem = CardProblem(card, CurrentProfile().Categories());
  if (!problem.empty()) UsageError(problem);
  store.Set(card);
  std::string error;
  if (!store.Save(error)) throw TCliError(error);
  std::printf("カード「%s」: 締め日 %s、支払日 %s%s、引落口座「%s」\n", card.card.c_str(),
              CardDayText(card.closingDay).c_str(), PaymentMonthText(card.paymentMonths).c_str(),
              CardDayText(card.paymentDay).c_str(), card.fromAccount.c_str());
  return 0;
}

int RemoveCard(const std::string& name) {
  TCardStore store = LoadCards();
  if (!store.Find(name)) throw TCliError("カード「" + name + "」の設定はありません。");
  store.Remove(name);
  std::string error;
  if (!store.Save(error)) throw TCliError(error);
  return 0;
}

// The card's settings, when they fit the passbook; a deleted 引落口座 is an error, not guessed.
TCardSettings UsableCard(const std::string& name) {
  const TCardStore store = LoadCards();
  const TCardSettings* card = store.Find(name);
  if (!card)
    throw TCliError("「" + name + "」はカードとして設定されていません。card PASSBOOK " + name +
                    " set で決めてください。");
  const std::string problem = CardProblem(*card, CurrentProfile().Categories());
  if (!problem.empty()) throw TCliError(problem);
  return *card;
}

int PrintCycles(const std::string& name, const TArgs& parsed) {
  const TCardSettings card = UsableCard(name);
  TCardMovements movements;
  (void)CollectCardMovements(CurrentMonthData(), card, 0, 0, movements);
  RequireEverythingRead();
  std::vector<TCardCycle> cycles = CardCyclesUpTo(card, movements, Today(), ProgramBusinessDays());
  const auto* from = Option(parsed, "--from");
  const auto* to = Option(parsed, "--to");
  if (from || to) {
    const TMonthKey first = from ? ParseMonthKey(*from) : cycles.front().closingMonth;
    const TMonthKey last = to ? ParseMonthKey(*to) : std::max(first, cycles.back().closingMonth);
    if (first > last) UsageError("--from の月は --to の月より前にしてください。");
    cycles = CardCycles(card, movements, first, last, ProgramBusinessDays());
  }
  const TDayNumber today = Today();
  for (const TCardCycle& c : cycles) {
    std::printf("%s\t%s\t%lld\t%s\t%s\n", FormatDateSlashed(c.first).c_str(), FormatDateSlashed(c.last).c_str(),
                static_cast<long long>(c.billed), FormatDateSlashed(c.paymentDate).c_str(),
                CycleStateText(c, today).c_str());
  }
  return 0;
}

TDayNumber TodayArgument(const TArgs& parsed) {
  const auto* today = Option(parsed, "--today");
  if (!today) return Today();
  TDayNumber day = 0;
  if (!TryParseDate8(*today, day)) {
    UsageError("--today は YYYYMMDD の日付で指定してください: " + *today);
  }
  return day;
}

}  // namespace

int CardCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--closing", "--payment", "--month", "--from-account", "--from", "--to"});
  if (parsed.help) {
    std::printf("%s", kCardHelp);
    return 0;
  }
  if (parsed.positional.size() != 3) UsageError("card には通帳, カード, set か cycles か remove を指定してください。");
  const std::string& action = parsed.positional[2];
  const bool setting = action == "set";
  if (!setting && action != "cycles" && action != "remove") UsageError("card の知らない操作です: " + action);
  for (const auto& [option, value] : parsed.options) {
    const bool ofSet = option != "--from" && option != "--to";
    if (ofSet != setting || action == "remove") UsageError(option + " は card " + action + " には使えません。");
  }
  OpenPassbookFolder(FindPassbook(parsed.positional[0]), action == "cycles" ? TPassbookAccess::paRead : TPassbookAccess::paWrite);
  const std::string& name = parsed.positional[1];
  if (setting) return SetCard(name, parsed);
  if (action == "remove") return RemoveCard(name);
  return PrintCycles(name, parsed);
}

int ForecastCommand(const TArgList& args) {
  const TArgs parsed = ParseArgs(args, {"--months", "--account", "--today"});
  if (parsed.help) {
    std::printf("%s", kForecastHelp);
    return 0;
  }
  if (parsed.positional.size() != 1) UsageError("forecast には通帳をひとつ指定してください。");
  int months = 3;
  if (const auto* given = Option(parsed, "--months")) {
    months = ParseNumberArgument("--months", *given);
    if (months < 1 || months > 120) UsageError("--months は1から120までで指定してください: " + *given);
  }
  const TDayNumber today = TodayArgument(parsed);
  const std::string folder = FindPassbook(parsed.positional[0]);
  OpenPassbookFolder(folder, TPassbookAccess::paRead);
  std::string account;
  if (const auto* name = Option(parsed, "--account")) {
    account = MakeKey(*name, kKindAsset);
    if (CurrentProfile().Categories().IndexOfKey(account) < 0)
      UsageError("通帳に資産の項目「" + *name + "」がありません。");
  }
  TRecurringStore recurring;
  std::string error;
  if (!OpenRecurring(folder, recurring, CurrentMonthData(), error)) throw TCliError(error);
  const TForecast forecast = PassbookForecast(recurring, LoadCards(), today, months, ProgramBusinessDays());
  RequireEverythingRead();
  for (const std::string& problem : forecast.problems) std::fprintf(stderr, "%s\n", problem.c_str());
  std::vector<const TAccountForecast*> shown;
  for (const TAccountForecast& a : forecast.accounts) {
    if (account.empty() || a.accountKey == account) shown.push_back(&a);
  }
  // Day by day, the accounts of a day in the passbook's order.
  std::vector<size_t> next(shown.size(), 0);
  for (;;) {
    TDayNumber day = 0;
    for (size_t i = 0; i < shown.size(); ++i) {
      if (next[i] < shown[i]->days.size() && (day == 0 || shown[i]->days[next[i]].date < day))
        day = shown[i]->days[next[i]].date;
    }
    if (day == 0) break;
    for (size_t i = 0; i < shown.size(); ++i) {
      if (next[i] >= shown[i]->days.size() || shown[i]->days[next[i]].date != day) continue;
      std::printf("%s\t%s\t%lld\n", FormatDateSlashed(day).c_str(), Field(KeyName(shown[i]->accountKey)).c_str(),
                  static_cast<long long>(shown[i]->days[next[i]].balance));
      ++next[i];
    }
  }
  for (const TAccountForecast* a : shown) {
    std::printf("最低\t%s\t%lld\t%s\n", Field(KeyName(a->accountKey)).c_str(), static_cast<long long>(a->lowest),
                FormatDateSlashed(a->lowestDate).c_str());
  }
  return 0;
}

}  // namespace kzm::cli
