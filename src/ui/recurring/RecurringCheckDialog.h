#pragma once

// 「定期的な記入の確認」: the occurrences of recurring entries that are due, one row each with a
// tick, the date, the item and the amount (an estimate highlighted, the amount editable).
// 記入する enters the ticked rows, スキップ skips them for good, あとで leaves everything for
// later; rows not ticked stay due either way. The dialog edits a copy and hands back the
// choices; the caller enters them.

#include <QDialog>

#include <vector>

#include "recurring/RecurringEntering.h"

class QTableWidget;

namespace kzm::ui {

class TFmRecurringCheck : public QDialog {
  Q_OBJECT

 public:
  explicit TFmRecurringCheck(std::vector<TDueOccurrence> due, QWidget* parent = nullptr);

  // After 記入する or スキップ: every occurrence with what to do with it and its amount.
  [[nodiscard]] const std::vector<TOccurrenceChoice>& Choices() const { return m_choices; }
  [[nodiscard]] QTableWidget* Table() const { return m_table; }

 private:
  void Decide(TChoice ticked);

  std::vector<TDueOccurrence> m_due;
  std::vector<TOccurrenceChoice> m_choices;
  QTableWidget* m_table = nullptr;
};

}  // namespace kzm::ui
