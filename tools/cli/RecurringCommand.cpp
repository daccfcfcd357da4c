// recurring: the templates of entries that come again and again, the occurrences waiting to
// be entered, and entering them, through the same code as the program's windows.

#include <cstdio>
#include <string>

#include "CliSupport.h"
#include "Commands.h"
#include "calendar/BusinessDays.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"

namespace kzm::cli {

namespace {

TDayNumber DateArgument(const std::string& option, const std::string& text) {
  TDayNumber day = 0;
  if (!TryParseDate8(text, day)) {
    UsageError(option + " は YYYYMMDD の日付で指定してください: " + text);
  }
  return day;
}

int RangeArgument(const std::string& option, const std::string& text, int low, int high) {
  const int32_t value = ParseNumberArgument(option, text);
  if (value < low || value > high) {
    UsageError(option + " は" + std::to_string(low) + "から" + std::to_string(high) + "までで指定してください: " + text);
  }
  return value;
}

// The one schedule option given: --monthly, --weekly, --yearly or --every-days.
void ReadRepeat(const TArgs& parsed, TSchedule& s) {
  int given = 0;
  if (const auto* day = Option(parsed, "--monthly")) {
    ++given;
    s.repeat = TRepeat::rpMonthly;
    s.day = (*day == "月末" || *day == "end") ? kMonthEnd : RangeArgument("--monthly", *day, 1, 31);
  }
  if (const auto* weekday = Option(parsed, "--weekly")) {
    ++given;
    s.repeat = TRepeat::rpWeekly;
    s.day = RangeArgument("--weekly", *weekday, 1, 7);
  }
  if (const auto* monthDay = Option(parsed, "--yearly")) {
    ++given;
    s.repeat = TRepeat::rpYearly;
    s.day = ParseNumberArgument("--yearly", *monthDay);
    if (monthDay->size() != 4 || !IsValidDate(2000, s.day / 100, s.day % 100)) {
      UsageError("--yearly は MMDD の月日で指定してください: " + *monthDay);
    }
  }
  if (const auto* days = Option(parsed, "--every-days")) {
    ++given;
    s.repeat = TRepeat::rpDays;
    s.interval = RangeArgument("--every-days", *days, 1, kMaxInterval);
  }
  if (given != 1) UsageError("--monthly, --weekly, --yearly, --every-days のどれかひとつを指定してください。");
  if (const auto* every = Option(parsed, "--every")) {
    if (s.repeat == TRepeat::rpDays) UsageError("--every-days には --every を使えません。");
    s.interval = RangeArgument("--every", *every, 1, kMaxInterval);
  }
}

TBusinessShift ShiftArgument(const std::string& text) {
  if (text == "asis" || text == "そのまま") return TBusinessShift::bsAsIs;
  if (text == "before" || text == "前") return TBusinessShift::bsBefore;
  if (text == "after" || text == "後") return TBusinessShift::bsAfter;
  UsageError("--shift は asis, before, after のどれかで指定してください: " + text);
}

TRecurringTemplate TemplateFromArgs(const TArgs& parsed, bool estimate) {
  TRecurringTemplate t;
  const auto* kind = Option(parsed, "--kind");
  if (!kind || !RecurringKindOfName(*kind, t.kind)) UsageError("--kind は 支出, 収入, 資産の移動 のどれかで指定してください。");
  const auto* account = Option(parsed, "--account");
  if (!account) UsageError("--account で口座 (資産の項目) を指定してください。");
  t.account = *account;
  if (t.kind == TRecurringKind::rkMove) {
    const auto* to = Option(parsed, "--to-account");
    if (!to) UsageError("資産の移動には --to-account で移動先の資産を指定してください。");
    if (Option(parsed, "--category")) UsageError("資産の移動に --category は使えません。");
    t.category = *to;
  } else {
    const auto* category = Option(parsed, "--category");
    if (!category) UsageError("--category で項目を指定してください。");
    if (Option(parsed, "--to-account")) UsageError("--to-account は資産の移動にだけ使えます。");
    t.category = *category;
  }
  if (const auto* item = Option(parsed, "--item")) t.item = *item;
  if (const auto* note = Option(parsed, "--note")) t.note = *note;
  const auto* amount = Option(parsed, "--amount");
  if (!amount) UsageError("--amount で金額を指定してください。");
  t.amount = ParseNumberArgument("--amount", *amount);
  t.estimate = estimate;
  TSchedule& s = t.schedule;
  ReadRepeat(parsed, s);
  const auto* from = Option(parsed, "--from");
  s.first = from ? DateArgument("--from", *from) : Today();
  if (const auto* shift = Option(parsed, "--shift")) s.shift = ShiftArgument(*shift);
  const auto* count = Option(parsed, "--count");
  const auto* until = Option(parsed, "--until");
  if (count && until) UsageError("--count と --until はどちらかひとつにしてください。");
  if (count) s.count = RangeArgument("--count", *count, 1, 100000);
  if (until) s.until = DateArgument("--until", *until);
  return t;
}

std::string Amount(const TDueOccurrence& due) {
  return FormatThousands(due.source.amount) + (due.source.estimate ? " (見込み)" : "");
}

void PrintDue(const TDueOccurrence& d) {
  std::printf("%s\t%d\t%s\t%s\n", FormatDateSlashed(d.occurrence.date).c_str(), d.source.id, d.source.item.c_str(),
              Amount(d).c_str());
}

// Prints what is due as it is found: a far --until with a daily template is millions of lines.
size_t PrintAllDue(const TRecurringStore& store, TDayNumber until) {
  size_t count = 0;
  ForEachDueOccurrence(store, until, ProgramBusinessDays(), [&count](const TDueOccurrence& d) {
    PrintDue(d);
    ++count;
  });
  return count;
}

// The oldest occurrence of t still open, overdue or not.
TDayNumber NextDate(const TRecurringStore& store, const TRecurringTemplate& t) {
  return NextOpenDate(store, t, t.schedule.first - 31, ProgramBusinessDays());
}

int List(TRecurringStore& store) {
  for (const TRecurringTemplate& t : store.Templates()) {
    const TDayNumber next = NextDate(store, t);
    const std::string target = t.kind == TRecurringKind::rkMove ? t.account + "→" + t.category : t.category + "/" + t.account;
    std::printf("%d\t%s\t%s\t%s\t%s%s\t%s\t%s\n", t.id, RecurringKindName(t.kind), target.c_str(), t.item.c_str(),
                FormatThousands(t.amount).c_str(), t.estimate ? " (見込み)" : "", ScheduleText(t.schedule).c_str(),
                next == 0 ? "-" : FormatDateSlashed(next).c_str());
  }
  return 0;
}

int Add(TRecurringStore& store, const TArgs& parsed, bool estimate) {
  const TRecurringTemplate t = TemplateFromArgs(parsed, estimate);
  const std::string problem = TemplateProblem(t, CurrentProfile().Categories());
  if (!problem.empty()) UsageError(problem);
  const int id = store.Add(t);
  std::string error;
  if (!store.Save(error)) throw TCliError(error);
  const TDayNumber next = NextDate(store, *store.Find(id));
  std::printf("定期的な記入 %d を追加しました。%s%s\n", id, ScheduleText(t.schedule).c_str(),
              next == 0 ? "" : (" 次は " + FormatDateSlashed(next)).c_str());
  return 0;
}

TDayNumber UntilArgument(const TArgs& parsed, const TRecurringStore& store) {
  const auto* until = Option(parsed, "--until");
  return until ? DateArgument("--until", *until) : Today() + store.DaysAhead();
}

int Enter(TRecurringStore& store, TDayNumber until, bool dryRun) {
  if (dryRun) {
    const size_t count = PrintAllDue(store, until);
    std::printf("%zu件。試しのため、何も書き込んでいません。\n", count);
    return 0;
  }
  const std::vector<TDueOccurrence> due = DueOccurrences(store, until, ProgramBusinessDays());
  for (const TDueOccurrence& d : due) PrintDue(d);
  std::vector<TOccurrenceChoice> choices;
  for (const TDueOccurrence& d : due) choices.push_back({d, TChoice::cEnter, d.source.amount});
  const TEnterOutcome outcome = EnterOccurrences(store, choices, CurrentMonthData());
  std::printf("%s\n", outcome.message.c_str());
  if (outcome.failed || outcome.refused > 0) throw TCliError("記入できなかったものがあります。");
  if (outcome.carryFailed) throw TCliError("後の月の残高を繰り越せませんでした。");
  return 0;
}

}  // namespace

int RecurringCommand(const TArgList& given) {
  TArgList args = given;
  const bool dryRun = TakeFlag(args, "--dry-run");
  const bool estimate = TakeFlag(args, "--estimate");
  const TArgs parsed =
      ParseArgs(args, {"--kind", "--category", "--item", "--note", "--amount", "--account", "--to-account",
                       "--monthly", "--weekly", "--yearly", "--every-days", "--every", "--shift", "--from", "--count",
                       "--until"});
  if (parsed.help) {
    std::printf("%s", kRecurringHelp);
    return 0;
  }
  if (parsed.positional.size() != 2) UsageError("recurring には通帳と list, add, due, enter のどれかを指定してください。");
  const std::string& action = parsed.positional[1];
  if (action != "list" && action != "add" && action != "due" && action != "enter") {
    UsageError("recurring の知らない操作です: " + action);
  }
  if (action != "add" && parsed.options.size() > (parsed.options.contains("--until") ? 1u : 0u)) {
    UsageError(action + " に使えるのは --until" + std::string(action == "enter" ? " と --dry-run" : "") + " だけです。");
  }
  if ((dryRun && action != "enter") || (estimate && action != "add")) UsageError(action + " に使えないオプションがあります。");
  const std::string folder = FindPassbook(parsed.positional[0]);
  const bool writes = action == "add" || (action == "enter" && !dryRun);
  OpenPassbookFolder(folder, writes ? TPassbookAccess::paWrite : TPassbookAccess::paRead);
  TRecurringStore store;
  std::string error;
  if (!OpenRecurring(folder, store, CurrentMonthData(), error)) throw TCliError(error);
  if (action == "list") return List(store);
  if (action == "add") return Add(store, parsed, estimate);
  const TDayNumber until = UntilArgument(parsed, store);
  if (action == "due") {
    (void)PrintAllDue(store, until);
    return 0;
  }
  return Enter(store, until, dryRun);
}

}  // namespace kzm::cli
