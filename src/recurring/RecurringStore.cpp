#include "recurring/RecurringStore.h"

#include <algorithm>
#include <cstdint>

#include "foundation/Text.h"

namespace kzm {

namespace {

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
  return TryParseDate8(text, day);
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

std::string TemplateKey(int id) { return "template," + std::to_string(id); }

std::string OccurrenceKey(int id, TDayNumber scheduled) {
  return "occurrence," + std::to_string(id) + "," + FormatDate8(scheduled);
}

// One line of the file as this store reads it.
struct TLine {
  int32_t value = 0;  // option: the value
  TRecurringTemplate t;
  int32_t id = 0;  // entered, skipped: the template's id
  TDayNumber scheduled = 0;
  THandledOccurrence handled;
};

// The key of a line the store understands, and what the line holds; empty for any other line.
// An occurrence's key is the same whether it was entered or skipped.
std::string ReadFields(const std::vector<std::string>& f, TLine& line) {
  if (f[0] == "option" && f.size() >= 3 && ReadNumber(f[2], line.value)) {
    if (f[1] == "DaysAhead" && line.value >= 0 && line.value <= kMaxDaysAhead) return "option,DaysAhead";
    if (f[1] == "NextId" && line.value > 0) return "option,NextId";
  }
  if (f[0] == "template" && ReadTemplate(f, line.t)) return TemplateKey(line.t.id);
  if (f[0] == "entered" && f.size() >= 5 && ReadNumber(f[1], line.id) && ReadDate(f[2], false, line.scheduled) &&
      ReadDate(f[3], false, line.handled.date) && ReadNumber(f[4], line.handled.amount)) {
    line.handled.handling = THandling::hEntered;
    return OccurrenceKey(line.id, line.scheduled);
  }
  if (f[0] == "skipped" && f.size() >= 3 && ReadNumber(f[1], line.id) && ReadDate(f[2], false, line.scheduled)) {
    line.handled = {THandling::hSkipped, 0, 0};
    return OccurrenceKey(line.id, line.scheduled);
  }
  return {};
}

// The id after id, stopping at the top of the range: past it no number is left to write.
int32_t IdAfter(int32_t id) { return id < INT32_MAX ? std::max(id + 1, 1) : INT32_MAX; }

bool SameEntryPart(const TRecurringTemplate& a, const TRecurringTemplate& b) {
  return a.kind == b.kind && a.category == b.category && a.account == b.account && a.amount == b.amount &&
         a.estimate == b.estimate && a.schedule == b.schedule;
}

}  // namespace

void TRecurringStore::ReadRecord(const std::vector<std::string>& fields) {
  TLine line;
  const std::string key = ReadFields(fields, line);
  if (key == "option,DaysAhead") {
    m_daysAhead = line.value;
  } else if (key == "option,NextId") {
    m_nextId = std::max(m_nextId, line.value);
  } else if (key.starts_with("template,")) {
    m_nextId = std::max(m_nextId, IdAfter(line.t.id));
    m_templates.push_back(std::move(line.t));
  } else if (!key.empty()) {
    m_handled[{line.id, line.scheduled}] = line.handled;
  }
}

bool TRecurringStore::Load(const std::string& passbookFolder, std::string& error) {
  *this = TRecurringStore();
  m_folder = passbookFolder;
  const auto keyOf = [](const std::vector<std::string>& fields) {
    TLine line;
    return ReadFields(fields, line);
  };
  if (!m_file.Load(passbookFolder + "/" + kRecurringFileName, keyOf, error)) return false;
  for (const TKeyedCsvStore::TRecord& record : m_file.Records()) ReadRecord(record.fields);
  // An id seen only among the occurrences (of a template since removed) is not given again.
  for (const auto& [key, handled] : m_handled) m_nextId = std::max(m_nextId, IdAfter(key.first));
  return true;
}

bool TRecurringStore::Save(std::string& error) const {
  // Written anew in the store's order: the options, the templates, the occurrences.
  TKeyedCsvStore file = m_file;
  file.ClearRecords();
  file.Set("option,DaysAhead", {"option", "DaysAhead", std::to_string(m_daysAhead)});
  file.Set("option,NextId", {"option", "NextId", std::to_string(m_nextId)});
  for (const TRecurringTemplate& t : m_templates) file.Set(TemplateKey(t.id), TemplateFields(t));
  for (const auto& [key, h] : m_handled) {
    const std::string id = std::to_string(key.first);
    const std::string scheduled = FormatDate8(key.second);
    file.Set(OccurrenceKey(key.first, key.second),
             h.handling == THandling::hEntered
                 ? std::vector<std::string>{"entered", id, scheduled, FormatDate8(h.date), std::to_string(h.amount)}
                 : std::vector<std::string>{"skipped", id, scheduled});
  }
  return file.Save(m_folder + "/" + kRecurringFileName, error);
}

const TRecurringTemplate* TRecurringStore::Find(int id) const {
  const auto found = std::find_if(m_templates.begin(), m_templates.end(),
                                  [id](const TRecurringTemplate& t) { return t.id == id; });
  return found == m_templates.end() ? nullptr : &*found;
}

bool TRecurringStore::IdInUse(int id) const {
  if (Find(id)) return true;
  const auto handled = m_handled.lower_bound({id, INT32_MIN});
  return handled != m_handled.end() && handled->first.first == id;
}

int TRecurringStore::NewId() {
  if (!IdInUse(m_nextId)) {
    const int id = m_nextId;
    m_nextId = IdAfter(id);
    return id;
  }
  // Only a NextId changed by hand gets to the top of the range. The lowest number that no
  // template and no occurrence remembered uses then serves: none of it can come back.
  int id = 1;
  while (IdInUse(id)) ++id;
  return id;
}

int TRecurringStore::Add(TRecurringTemplate t) {
  t.id = NewId();
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
  const auto after = m_handled.upper_bound({templateId, INT32_MAX});
  if (after == m_handled.begin()) return 0;
  const auto last = std::prev(after);
  return last->first.first == templateId ? last->first.second : 0;
}

}  // namespace kzm
