#pragma once

class QWidget;

namespace kzm {
struct TkzmEntry;
}

namespace kzm::ui {

// 「定期的な記入の確認」 for the occurrences of the open passbook due up to today (and the
// passbook's days ahead), entering what the person chooses. Nothing shows when none is due.
// While a daily window is open nothing is asked either (its next save of a day would drop
// entries made behind it) and the result is false, so that the caller asks again later.
bool CheckRecurringEntries(QWidget* parent);

// 「定期的な記入」, modal; with entry, its editor opens at once on a new template made from it.
void OpenRecurringWindow(QWidget* parent, const kzm::TkzmEntry* entry = nullptr);

}  // namespace kzm::ui
