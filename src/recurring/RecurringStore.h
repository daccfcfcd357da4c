#pragma once

// A passbook's recurring entries: the templates, and per template the occurrences already
// entered or skipped, so that none is offered twice.
//
// File (Recurring.csv in the passbook folder): CP932 lines ended by CR LF, CSV fields as the
// month files write them; the first field says what a line is:
//   option,DaysAhead,N      how many days past today the check looks ahead
//   option,NextId,N         the id the next new template gets, so that no id comes back
//   template,id,kind,category,account,item,note,amount,estimate,repeat,interval,day,
//            first,until,count,shift,handledThrough
//                           kind 支出/収入/資産の移動; estimate 0 or 1; repeat monthly, weekly,
//                           yearly or days; day as TSchedule::day; dates yyyymmdd (until and
//                           handledThrough empty for none); shift asis, before or after
//   entered,id,scheduled,date,amount   an occurrence entered on date with that amount
//   skipped,id,scheduled               an occurrence the person chose not to enter
// A line of any other shape is kept as it is and written back at the end. Of two lines for one
// option, template id or occurrence (entered or skipped) the first holds (TKeyedCsvStore).

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "foundation/KeyedCsvStore.h"
#include "recurring/RecurringTemplate.h"

namespace kzm {

inline constexpr const char* kRecurringFileName = "Recurring.csv";

enum class THandling : uint8_t { hEntered, hSkipped };

struct THandledOccurrence {
  THandling handling = THandling::hEntered;
  TDayNumber date = 0;  // entered: the day it went into; skipped: 0
  int32_t amount = 0;   // entered: the amount entered (an estimate confirmed as it was typed)
};

class TRecurringStore {
 public:
  // Reads the passbook folder's file; a missing file holds nothing. False, with the reason in
  // error, when the file is there but cannot be read: the store is then empty and refuses to
  // be saved, so the file is never written over.
  bool Load(const std::string& passbookFolder, std::string& error);
  // Writes everything, atomically. False, with the reason in error, when that fails or the
  // file could not be read.
  [[nodiscard]] bool Save(std::string& error) const;
  [[nodiscard]] const std::string& Folder() const { return m_folder; }

  [[nodiscard]] const std::vector<TRecurringTemplate>& Templates() const { return m_templates; }
  // The template of that id; null when there is none.
  [[nodiscard]] const TRecurringTemplate* Find(int id) const;
  // Adds t under a new id, which it returns: NextId, or, once NextId is at the top of the
  // range, the lowest id nothing in the store uses.
  int Add(TRecurringTemplate t);
  // Replaces the template of t.id. When anything but its texts changed, occurrences on or before
  // the last one entered or skipped are closed to it (handledThrough), so that the new schedule
  // or amount does not bring back what is done. False when no template has that id.
  bool Change(const TRecurringTemplate& t);
  // Removes the template and what is remembered of its occurrences.
  void Remove(int id);

  [[nodiscard]] const THandledOccurrence* Handled(int templateId, TDayNumber scheduled) const;
  void MarkHandled(int templateId, TDayNumber scheduled, const THandledOccurrence& handled);
  // The scheduled dates of the template's occurrences entered or skipped, in order.
  [[nodiscard]] std::vector<TDayNumber> HandledDates(int templateId) const;
  // The latest scheduled date of the template entered or skipped; 0 when none.
  [[nodiscard]] TDayNumber LastHandled(int templateId) const;

  [[nodiscard]] int DaysAhead() const { return m_daysAhead; }
  void SetDaysAhead(int days) { m_daysAhead = days; }

 private:
  void ReadRecord(const std::vector<std::string>& fields);
  [[nodiscard]] bool IdInUse(int id) const;
  int NewId();

  std::string m_folder;
  int m_daysAhead = 0;
  int m_nextId = 1;
  std::vector<TRecurringTemplate> m_templates;
  std::map<std::pair<int, TDayNumber>, THandledOccurrence> m_handled;
  // The file as read; its records are written anew by Save.
  TKeyedCsvStore m_file{"定期的な記入のファイル", 16 * 1024 * 1024};
};

inline constexpr int kMaxDaysAhead = 366;

}  // namespace kzm
