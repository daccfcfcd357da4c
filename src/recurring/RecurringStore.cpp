#include "recurring/RecurringStore.h"

#include <algorithm>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "foundation/Text.h"

namespace kzm {

namespace {

constexpr size_t kMaxFileSize = 16 * 1024 * 1024;
constexpr const char* kRepeatNames[] = {"monthly", "weekly", "yearly", "days"};
constexpr const char* kShiftNames[] = {"asis", "before", "after"};
constexpr size_t kTemplateFields = 17;

std::string DateField(TDayNumber day) { return day == 0 ? std::string() : FormatDate8(day); }

// A yyyymmdd field; empty reads as 0 when allowed.
bool ReadDate(const std::string& text, bool emptyAllowed, TDayNumber& day) {
  if (text.empty()) {
    day = 0;
    return emptyAllowed;
  }
  int32_t value = 0;
  if (text.size() != 8 || !TryParseInt(text, value)) return false;
  return TryEncodeDate(value / 10000, value / 100 % 100, value % 100, day);
}

bool ReadNumber(const std::string& text, int32_t& value) { return !text.empty() && TryParseInt(text, value); }

template <size_t N>
bool ReadName(const std::string& text, const char* const (&names)[N], int& index) {
  for (size_t i = 0; i < N; ++i) {
    if (text == names[i]) {
      index = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

bool ReadTemplate(const std::vector<std::string>& f, TRecurringTemplate& t) {
  if (f.size() < kTemplateFields) return false;
  int32_t id = 0, amount = 0, interval = 0, day = 0, count = 0;
  int repeat = 0, shift = 0;
  TSchedule& s = t.schedule;
  if (!ReadNumber(f[1], id) || id <= 0 || !RecurringKindOfName(f[2], t.kind) || !ReadNumber(f[7], amount) ||
      !ReadName(f[9], kRepeatNames, repeat) || !ReadNumber(f[10], interval) || !ReadNumber(f[11], day) ||
      !ReadDate(f[12], false, s.first) || !ReadDate(f[13], true, s.until) || !ReadNumber(f[14], count) ||
      !ReadName(f[15], kShiftNames, shift) || !ReadDate(f[16], true, t.handledThrough)) {
    return false;
  }
  t.id = id;
  t.category = f[3];
  t.account = f[4];
  t.item = f[5];
  t.note = f[6];
  t.amount = amount;
  t.estimate = f[8] == "1";
  s.repeat = static_cast<TRepeat>(repeat);
  s.interval = interval;
  s.day = day;
  s.count = count;
  s.shift = static_cast<TBusinessShift>(shift);
  return ScheduleProblem(s).empty();
}

std::vector<std::string> TemplateFields(const TRecurringTemplate& t) {
  const TSchedule& s = t.schedule;
  return {"template",
          std::to_string(t.id),
          RecurringKindName(t.kind),
          t.category,
          t.account,
          t.item,
          t.note,
          std::to_string(t.amount),
          t.estimate ? "1" : "0",
          kRepeatNames[static_cast<int>(s.repeat)],
          std::to_string(s.interval),
          std::to_string(s.day),
          FormatDate8(s.first),
          DateField(s.until),
          std::to_string(s.count),
          kShiftNames[static_cast<int>(s.shift)],
          DateField(t.handledThrough)};
}

bool SameEntryPart(const TRecurringTemplate& a, const TRecurringTemplate& b) {
  return a.kind == b.kind && a.category == b.category && a.account == b.account && a.amount == b.amount &&
         a.estimate == b.estimate && a.schedule == b.schedule;
}

}  // namespace

void TRecurringStore::ReadLine(const std::string& bytes) {
  const std::vector<std::string> f = CsvSplit(DecodeCp932(bytes));
  int32_t id = 0, value = 0;
  if (f[0] == "option" && f.size() >= 3 && ReadNumber(f[2], value)) {
    if (f[1] == "DaysAhead" && value >= 0 && value <= kMaxDaysAhead) {
      m_daysAhead = value;
      return;
    }
    if (f[1] == "NextId" && value > 0) {
      m_nextId = std::max(m_nextId, value);
      return;
    }
  }
  TRecurringTemplate t;
  if (f[0] == "template" && ReadTemplate(f, t) && !Find(t.id)) {
    m_nextId = std::max(m_nextId, t.id + 1);
    m_templates.push_back(std::move(t));
    return;
  }
  TDayNumber scheduled = 0, date = 0;
  if (f[0] == "entered" && f.size() >= 5 && ReadNumber(f[1], id) && ReadDate(f[2], false, scheduled) &&
      ReadDate(f[3], false, date) && ReadNumber(f[4], value)) {
    m_handled[{id, scheduled}] = {THandling::hEntered, date, value};
    return;
  }
  if (f[0] == "skipped" && f.size() >= 3 && ReadNumber(f[1], id) && ReadDate(f[2], false, scheduled)) {
    m_handled[{id, scheduled}] = {THandling::hSkipped, 0, 0};
    return;
  }
  m_kept.push_back(bytes);
}

bool TRecurringStore::Load(const std::string& passbookFolder, std::string& error) {
  *this = TRecurringStore();
  m_folder = passbookFolder;
  const std::string path = passbookFolder + "/" + kRecurringFileName;
  std::string bytes;
  if (!ReadOwnFile(path, kMaxFileSize, "定期的な記入のファイル", bytes, error)) {
    m_unreadable = true;
    return false;
  }
  for (const std::string& line : NonEmptyLines(bytes)) ReadLine(line);
  // An id seen only among the occurrences (of a template since removed) is not given again.
  for (const auto& [key, handled] : m_handled) m_nextId = std::max(m_nextId, key.first + 1);
  return true;
}

bool TRecurringStore::Save(std::string& error) const {
  const std::string path = m_folder + "/" + kRecurringFileName;
  if (m_unreadable) {
    error = "定期的な記入のファイル「" + path + "」を読み込めなかったため、上書きしません。";
    return false;
  }
  std::string text = "option,DaysAhead," + std::to_string(m_daysAhead) + "\r\noption,NextId," +
                     std::to_string(m_nextId) + "\r\n";
  for (const TRecurringTemplate& t : m_templates) text += CsvJoin(TemplateFields(t)) + "\r\n";
  for (const auto& [key, h] : m_handled) {
    const std::string id = std::to_string(key.first);
    text += h.handling == THandling::hEntered
                ? CsvJoin({"entered", id, FormatDate8(key.second), FormatDate8(h.date), std::to_string(h.amount)})
                : CsvJoin({"skipped", id, FormatDate8(key.second)});
    text += "\r\n";
  }
  std::string bytes;
  std::string bad;
  if (!EncodeCp932(text, bytes, &bad)) {
    error = "定期的な記入に保存できない文字「" + bad + "」があります。";
    return false;
  }
  for (const std::string& line : m_kept) bytes += line + "\r\n";
  return WriteFileAtomic(path, bytes, &error);
}

const TRecurringTemplate* TRecurringStore::Find(int id) const {
  const auto found = std::find_if(m_templates.begin(), m_templates.end(),
                                  [id](const TRecurringTemplate& t) { return t.id == id; });
  return found == m_templates.end() ? nullptr : &*found;
}

int TRecurringStore::Add(TRecurringTemplate t) {
  t.id = m_nextId++;
  m_templates.push_back(std::move(t));
  return m_templates.back().id;
}

bool TRecurringStore::Change(const TRecurringTemplate& t) {
  const auto found = std::find_if(m_templates.begin(), m_templates.end(),
                                  [&t](const TRecurringTemplate& old) { return old.id == t.id; });
  if (found == m_templates.end()) return false;
  TRecurringTemplate changed = t;
  changed.handledThrough = std::max(found->handledThrough, t.handledThrough);
  if (!SameEntryPart(*found, t)) changed.handledThrough = std::max(changed.handledThrough, LastHandled(t.id));
  *found = std::move(changed);
  return true;
}

void TRecurringStore::Remove(int id) {
  std::erase_if(m_templates, [id](const TRecurringTemplate& t) { return t.id == id; });
  std::erase_if(m_handled, [id](const auto& item) { return item.first.first == id; });
}

const THandledOccurrence* TRecurringStore::Handled(int templateId, TDayNumber scheduled) const {
  const auto found = m_handled.find({templateId, scheduled});
  return found == m_handled.end() ? nullptr : &found->second;
}

void TRecurringStore::MarkHandled(int templateId, TDayNumber scheduled, const THandledOccurrence& handled) {
  m_handled[{templateId, scheduled}] = handled;
}

std::vector<TDayNumber> TRecurringStore::HandledDates(int templateId) const {
  std::vector<TDayNumber> dates;
  for (auto it = m_handled.lower_bound({templateId, INT32_MIN}); it != m_handled.end() && it->first.first == templateId;
       ++it) {
    dates.push_back(it->first.second);
  }
  return dates;
}

TDayNumber TRecurringStore::LastHandled(int templateId) const {
  const auto after = m_handled.lower_bound({templateId + 1, INT32_MIN});
  if (after == m_handled.begin()) return 0;
  const auto last = std::prev(after);
  return last->first.first == templateId ? last->first.second : 0;
}

}  // namespace kzm
